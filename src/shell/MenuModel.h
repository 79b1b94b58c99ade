#pragma once
// The menus of the main window as data: the main menu, the image area's context menu and the
// colour-depth menu. Each item has its component name, caption (with its "&" accelerator),
// shortcut text, enabled/checked/visible flags, radio group, hint, children, and the handlers that
// run when its menu opens and when it is clicked. The window builds its menus from this model and
// re-reads it after every command.
//
// Items appear only together with their behaviour: each command's file adds its items when the
// main window is created. The layout table of a menu fixes the order, so an item lands at its place
// whichever file adds it first.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mv {

struct MenuItem {
  std::string name;
  std::string caption;
  std::string shortcut;  // "Ctrl+O", "Right", … or empty
  std::string hint;
  bool enabled = true;
  bool checked = false;
  bool visible = true;
  int radioGroup = 0;  // 0: none; checking an item unchecks the items of its parent with the same group
  std::function<void()> onClick;
  std::function<void()> onPopup;  // a menu's opening handler

  MenuItem* parent = nullptr;
  std::vector<std::unique_ptr<MenuItem>> children;
};

// An item with its behaviour, enabled and visible.
inline MenuItem MakeMenuItem(std::string name, std::string caption, std::function<void()> onClick,
                             std::string shortcut = {}) {
  MenuItem item;
  item.name = std::move(name);
  item.caption = std::move(caption);
  item.onClick = std::move(onClick);
  item.shortcut = std::move(shortcut);
  return item;
}

// A menu (an item holding items) with its opening handler.
inline MenuItem MakeMenu(std::string name, std::string caption, std::function<void()> onPopup = {}) {
  MenuItem menu;
  menu.name = std::move(name);
  menu.caption = std::move(caption);
  menu.onPopup = std::move(onPopup);
  return menu;
}

// Roots of the three menus.
inline constexpr const char* kMainMenu = "MainMenu1";
inline constexpr const char* kImagePopupMenu = "PopupMenu1";
inline constexpr const char* kDepthPopupMenu = "PopupMenu2";

class MenuModel {
 public:
  MenuModel();
  MenuModel(const MenuModel&) = delete;
  MenuModel& operator=(const MenuModel&) = delete;

  // The order of a menu's items by component name. Items added later are placed by it; items not
  // named in it go to the end.
  void SetLayout(const std::string& menuName, std::vector<std::string> order);
  // Adds `item` to the menu `menuName` (a root or an item) and returns it. Names are unique.
  MenuItem& Add(const std::string& menuName, MenuItem item);

  MenuItem* Find(const std::string& name);
  const MenuItem* Find(const std::string& name) const;
  // The item; std::logic_error when it does not exist.
  MenuItem& Get(const std::string& name);
  // The first item (depth first, main menu first) that can be clicked and whose caption without
  // its "(&X)" accelerator is `caption`.
  MenuItem* FindByCaption(const std::string& caption);
  // The item whose shortcut is `key` ("ctrl+z" matches "Ctrl+Z").
  MenuItem* FindByShortcut(const std::string& key);
  // Items in menu order, depth first, for the window to build its menus.
  void ForEach(const std::function<void(MenuItem&)>& visit);

  // Checks or unchecks; checking unchecks the item's radio partners.
  void SetChecked(MenuItem& item, bool checked);
  // Runs the click handler when the item is enabled and has one; answers whether it ran.
  bool Click(MenuItem& item);
  bool Click(const std::string& name) { return Click(Get(name)); }
  // Runs a menu's opening handler.
  void Open(MenuItem& menu);
  // A key bound to an item: the opening handler of each menu above it runs first, from the top, so
  // the enabled states are those of now; then the item is clicked when it and every menu above it
  // are enabled. Answers whether the item's handler ran.
  bool ClickByKey(const std::string& itemName);

  // Flags of items that later commands add: a name of the layout tables that has no item yet is
  // skipped; a name unknown to every layout is a programming error (std::logic_error).
  void SetEnabled(const std::string& name, bool enabled);
  void SetVisible(const std::string& name, bool visible);
  void SetShortcut(const std::string& name, const std::string& shortcut);
  bool IsChecked(const std::string& name) const;

 private:
  MenuItem& Root(const std::string& name);
  MenuItem* ExistingOrKnown(const std::string& name);
  int LayoutIndex(const MenuItem& menu, const std::string& name) const;

  std::vector<std::unique_ptr<MenuItem>> roots_;
  std::vector<std::pair<std::string, std::vector<std::string>>> layouts_;
};

// A caption without its accelerator: "開く(&O)" -> "開く", "&File" -> "File".
std::string CaptionText(const std::string& caption);
// A key or shortcut text in one spelling: modifiers in the order Ctrl, Shift, Alt, the key in upper
// case for letters ("ctrl+z" -> "Ctrl+Z", "right" -> "Right", "Escape" -> "Esc"). Empty when it
// cannot be read.
std::string NormalizeShortcut(const std::string& text);

}  // namespace mv
