#pragma once
// The menus of the core's model as Qt menus: the main menu bar, the image area's context menu and
// the colour-depth menu. Each model item becomes a QAction (a QMenu where it has items); a chosen
// action and a menu about to open are handed back by component name. Sync() re-reads every item's
// caption, shortcut and flags after the core has run.
//
// Shortcuts are shown in the menus but not registered with Qt: the window hands every key to the
// core, which knows which item a key belongs to (hidden items included) and whether it may run.

#include <QPointer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "shell/MenuModel.h"

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QWidget;

namespace mv {

class MenuBinder {
 public:
  using NameHandler = std::function<void(const std::string&)>;
  // `choose` runs when the user chooses an item, `open` when a menu is about to show.
  MenuBinder(MenuModel& model, NameHandler choose, NameHandler open);

  // Builds the main menu into `bar` and the popup menus as children of `owner`.
  void Build(QMenuBar& bar, QWidget& owner);
  void Sync();

  // The action of an item (a menu's own action for a menu), or nullptr.
  QAction* Action(const std::string& itemName) const;
  // A menu with items by its component name: a main-menu menu, a submenu or a popup root.
  QMenu* Menu(const std::string& menuName) const;

 private:
  struct Binding {
    MenuItem* item;
    QPointer<QAction> action;
  };
  void AddItems(MenuItem& parent, QMenu& menu);
  void Bind(MenuItem& item, QAction& action);
  void WatchOpening(MenuItem& item, QMenu& menu);
  QActionGroup* RadioGroup(QMenu& menu, int group);
  static void Show(const MenuItem& item, QAction& action);

  MenuModel& model_;
  NameHandler choose_;
  NameHandler open_;
  std::vector<Binding> bindings_;
  std::map<std::string, QPointer<QMenu>> menus_;
  std::map<std::pair<QMenu*, int>, QActionGroup*> radioGroups_;
};

// The text of an item's action: its caption, and its shortcut after a tab.
QString ActionText(const MenuItem& item);

}  // namespace mv
