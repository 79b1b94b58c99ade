#include "shell/MenuModel.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace mv {

namespace {

void Visit(MenuItem& item, const std::function<void(MenuItem&)>& visit) {
  visit(item);
  for (auto& child : item.children) Visit(*child, visit);
}

bool EnabledWithItsMenus(const MenuItem& item) {
  for (const MenuItem* p = &item; p != nullptr; p = p->parent) {
    if (!p->enabled) return false;
  }
  return true;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

MenuModel::MenuModel() {
  for (const char* name : {kMainMenu, kImagePopupMenu, kDepthPopupMenu}) {
    auto root = std::make_unique<MenuItem>();
    root->name = name;
    roots_.push_back(std::move(root));
  }
}

MenuItem& MenuModel::Root(const std::string& name) {
  for (auto& root : roots_) {
    if (root->name == name) return *root;
  }
  throw std::logic_error("no menu root " + name);
}

void MenuModel::SetLayout(const std::string& menuName, std::vector<std::string> order) {
  layouts_.emplace_back(menuName, std::move(order));
}

int MenuModel::LayoutIndex(const MenuItem& menu, const std::string& name) const {
  for (const auto& [menuName, order] : layouts_) {
    if (menuName != menu.name) continue;
    const auto found = std::find(order.begin(), order.end(), name);
    if (found != order.end()) return static_cast<int>(found - order.begin());
  }
  return INT32_MAX;
}

MenuItem& MenuModel::Add(const std::string& menuName, MenuItem item) {
  if (Find(item.name) != nullptr) throw std::logic_error("menu item added twice: " + item.name);
  MenuItem* menu = Find(menuName);
  if (menu == nullptr) throw std::logic_error("no menu " + menuName + " for " + item.name);
  auto owned = std::make_unique<MenuItem>(std::move(item));
  owned->parent = menu;
  const int index = LayoutIndex(*menu, owned->name);
  auto position = std::find_if(menu->children.begin(), menu->children.end(),
                               [&](const auto& child) { return LayoutIndex(*menu, child->name) > index; });
  return **menu->children.insert(position, std::move(owned));
}

MenuItem* MenuModel::Find(const std::string& name) {
  MenuItem* found = nullptr;
  ForEach([&](MenuItem& item) {
    if (found == nullptr && item.name == name) found = &item;
  });
  return found;
}

const MenuItem* MenuModel::Find(const std::string& name) const {
  return const_cast<MenuModel*>(this)->Find(name);
}

MenuItem& MenuModel::Get(const std::string& name) {
  MenuItem* item = Find(name);
  if (item == nullptr) throw std::logic_error("no menu item " + name);
  return *item;
}

MenuItem* MenuModel::FindByCaption(const std::string& caption) {
  MenuItem* found = nullptr;
  ForEach([&](MenuItem& item) {
    if (found == nullptr && item.onClick && CaptionText(item.caption) == caption) found = &item;
  });
  return found;
}

MenuItem* MenuModel::FindByShortcut(const std::string& key) {
  const std::string wanted = NormalizeShortcut(key);
  if (wanted.empty()) return nullptr;
  MenuItem* found = nullptr;
  ForEach([&](MenuItem& item) {
    if (found == nullptr && !item.shortcut.empty() && NormalizeShortcut(item.shortcut) == wanted)
      found = &item;
  });
  return found;
}

void MenuModel::ForEach(const std::function<void(MenuItem&)>& visit) {
  for (auto& root : roots_) Visit(*root, visit);
}

void MenuModel::SetChecked(MenuItem& item, bool checked) {
  if (checked && item.radioGroup != 0 && item.parent != nullptr) {
    for (auto& sibling : item.parent->children) {
      if (sibling->radioGroup == item.radioGroup) sibling->checked = false;
    }
  }
  item.checked = checked;
}

bool MenuModel::Click(MenuItem& item) {
  if (!item.enabled || !item.onClick) return false;
  // Copy the handler: it may replace itself or the item's menu while it runs.
  const std::function<void()> handler = item.onClick;
  handler();
  return true;
}

void MenuModel::Open(MenuItem& menu) {
  if (!menu.onPopup) return;
  const std::function<void()> handler = menu.onPopup;
  handler();
}

bool MenuModel::ClickByKey(const std::string& itemName) {
  std::vector<std::string> menusAbove;
  for (const MenuItem* menu = Get(itemName).parent; menu != nullptr; menu = menu->parent)
    menusAbove.insert(menusAbove.begin(), menu->name);
  // Looked up by name each time: an opening handler may add or replace items.
  for (const std::string& name : menusAbove) {
    if (MenuItem* menu = Find(name)) Open(*menu);
  }
  MenuItem* item = Find(itemName);
  return item != nullptr && EnabledWithItsMenus(*item) && Click(*item);
}

MenuItem* MenuModel::ExistingOrKnown(const std::string& name) {
  if (MenuItem* item = Find(name)) return item;
  for (const auto& layout : layouts_) {
    if (std::find(layout.second.begin(), layout.second.end(), name) != layout.second.end()) return nullptr;
  }
  throw std::logic_error("unknown menu item " + name);
}

void MenuModel::SetEnabled(const std::string& name, bool enabled) {
  if (MenuItem* item = ExistingOrKnown(name)) item->enabled = enabled;
}

void MenuModel::SetVisible(const std::string& name, bool visible) {
  if (MenuItem* item = ExistingOrKnown(name)) item->visible = visible;
}

void MenuModel::SetShortcut(const std::string& name, const std::string& shortcut) {
  if (MenuItem* item = ExistingOrKnown(name)) item->shortcut = shortcut;
}

bool MenuModel::IsChecked(const std::string& name) const {
  const MenuItem* item = Find(name);
  return item != nullptr && item->checked;
}

std::string CaptionText(const std::string& caption) {
  std::string text = caption;
  const std::size_t open = text.rfind("(&");
  if (open != std::string::npos && open + 4 == text.size() && text.back() == ')') text.erase(open);
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

std::string NormalizeShortcut(const std::string& text) {
  bool ctrl = false, shift = false, alt = false;
  std::string key;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t plus = text.find('+', start);
    // A trailing "+" is the plus key itself ("Ctrl++").
    if (plus == start && plus + 1 == text.size()) plus = std::string::npos;
    const std::string part = text.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
    const std::string lower = Lower(part);
    if (plus != std::string::npos && lower == "ctrl")
      ctrl = true;
    else if (plus != std::string::npos && lower == "shift")
      shift = true;
    else if (plus != std::string::npos && lower == "alt")
      alt = true;
    else if (plus == std::string::npos)
      key = part;
    else
      return {};
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  if (key.empty()) return {};
  if (key.size() == 1) {
    key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
  } else {
    key = Lower(key);
    key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
  }
  if (key == "Escape") key = "Esc";  // both spellings are common; the window names it "Esc"
  std::string normal;
  if (ctrl) normal += "Ctrl+";
  if (shift) normal += "Shift+";
  if (alt) normal += "Alt+";
  return normal + key;
}

}  // namespace mv
