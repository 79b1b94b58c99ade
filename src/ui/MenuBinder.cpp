#include "ui/MenuBinder.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace mv {

namespace {

bool IsSeparator(const MenuItem& item) {
  return item.caption == "-";
}

}  // namespace

QString ActionText(const MenuItem& item) {
  QString text = QString::fromStdString(item.caption);
  if (!item.shortcut.empty()) text += "\t" + QString::fromStdString(item.shortcut);
  return text;
}

MenuBinder::MenuBinder(MenuModel& model, NameHandler choose, NameHandler open)
    : model_(model), choose_(std::move(choose)), open_(std::move(open)) {}

void MenuBinder::Build(QMenuBar& bar, QWidget& owner) {
  for (auto& top : model_.Get(kMainMenu).children) {
    QMenu* menu = bar.addMenu(QString::fromStdString(top->caption));
    menu->setObjectName(QString::fromStdString(top->name));
    menus_[top->name] = menu;
    Bind(*top, *menu->menuAction());
    WatchOpening(*top, *menu);
    AddItems(*top, *menu);
  }
  for (const char* root : {kImagePopupMenu, kDepthPopupMenu}) {
    MenuItem& item = model_.Get(root);
    auto* menu = new QMenu(&owner);
    menu->setObjectName(root);
    menus_[root] = menu;
    AddItems(item, *menu);
  }
  Sync();
}

void MenuBinder::AddItems(MenuItem& parent, QMenu& menu) {
  for (auto& child : parent.children) {
    if (!child->children.empty() || (child->onPopup && !child->onClick)) {
      QMenu* submenu = menu.addMenu(QString::fromStdString(child->caption));
      submenu->setObjectName(QString::fromStdString(child->name));
      menus_[child->name] = submenu;
      Bind(*child, *submenu->menuAction());
      WatchOpening(*child, *submenu);
      AddItems(*child, *submenu);
      continue;
    }
    QAction* action = menu.addAction(QString());
    if (IsSeparator(*child)) action->setSeparator(true);
    if (child->radioGroup != 0) RadioGroup(menu, child->radioGroup)->addAction(action);
    Bind(*child, *action);
    const std::string name = child->name;
    QObject::connect(action, &QAction::triggered, [this, name] { choose_(name); });
  }
}

void MenuBinder::Bind(MenuItem& item, QAction& action) {
  action.setObjectName(QString::fromStdString(item.name));
  bindings_.push_back({&item, &action});
}

void MenuBinder::WatchOpening(MenuItem& item, QMenu& menu) {
  const std::string name = item.name;
  QObject::connect(&menu, &QMenu::aboutToShow, [this, name] { open_(name); });
}

QActionGroup* MenuBinder::RadioGroup(QMenu& menu, int group) {
  QActionGroup*& actions = radioGroups_[{&menu, group}];
  if (actions == nullptr) {
    actions = new QActionGroup(&menu);
    // The model decides which entry carries the mark; the group only draws the marks as dots.
    actions->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  }
  return actions;
}

void MenuBinder::Show(const MenuItem& item, QAction& action) {
  if (!action.isSeparator()) {
    if (QMenu* menu = action.menu()) {
      menu->setTitle(QString::fromStdString(item.caption));
    } else {
      action.setText(ActionText(item));
      // Only a marked item is checkable, so unmarked items show no empty box, as in a Windows menu.
      action.setCheckable(item.checked);
      action.setChecked(item.checked);
    }
    action.setEnabled(item.enabled);
    action.setToolTip(QString::fromStdString(item.hint));
  }
  action.setVisible(item.visible);
}

void MenuBinder::Sync() {
  for (const Binding& binding : bindings_) {
    if (binding.action) Show(*binding.item, *binding.action);
  }
}

QAction* MenuBinder::Action(const std::string& itemName) const {
  for (const Binding& binding : bindings_) {
    if (binding.item->name == itemName) return binding.action;
  }
  return nullptr;
}

QMenu* MenuBinder::Menu(const std::string& menuName) const {
  const auto found = menus_.find(menuName);
  return found == menus_.end() ? nullptr : found->second.data();
}

}  // namespace mv
