#include "shell/MenuModel.h"

#include <gtest/gtest.h>

namespace mv {
namespace {

TEST(MenuModel, ItemsLandAtTheirPlaceInTheLayoutWhateverOrderTheyAreAddedIn) {
  MenuModel menus;
  menus.SetLayout(kMainMenu, {"N1"});
  menus.SetLayout("N1", {"N2", "S1", "N3"});
  MenuItem file;
  file.name = "N1";
  menus.Add(kMainMenu, std::move(file));
  menus.Add("N1", MakeMenuItem("N3", "終了(&Q)", [] {}));
  menus.Add("N1", MakeMenuItem("X9", "extra", [] {}));
  menus.Add("N1", MakeMenuItem("N2", "開く(&O)", [] {}));
  menus.Add("N1", MakeMenuItem("S1", "保存(&S)", [] {}));
  std::vector<std::string> order;
  for (const auto& child : menus.Get("N1").children) order.push_back(child->name);
  EXPECT_EQ(order, (std::vector<std::string>{"N2", "S1", "N3", "X9"}));
  EXPECT_THROW(menus.Add("N1", MakeMenuItem("N2", "again", [] {})), std::logic_error);
  // Flags of items still to come are skipped; a name no layout knows is a mistake.
  menus.SetLayout("N1", {"N99"});
  EXPECT_NO_THROW(menus.SetEnabled("N99", false));
  EXPECT_THROW(menus.SetEnabled("N98", false), std::logic_error);
}

TEST(MenuModel, CheckingARadioItemUnchecksItsGroupOnly) {
  MenuModel menus;
  MenuItem zoom;
  zoom.name = "N17";
  menus.Add(kMainMenu, std::move(zoom));
  for (const char* name : {"A", "B", "C"}) menus.Add("N17", MakeMenuItem(name, name, [] {})).radioGroup = 1;
  menus.Add("N17", MakeMenuItem("D", "D", [] {})).checked = true;
  menus.SetChecked(menus.Get("A"), true);
  menus.SetChecked(menus.Get("C"), true);
  EXPECT_FALSE(menus.IsChecked("A"));
  EXPECT_TRUE(menus.IsChecked("C"));
  EXPECT_TRUE(menus.IsChecked("D"));
}

TEST(MenuModel, CaptionsAndShortcutsAreFoundInTheirUsualSpellings) {
  EXPECT_EQ(CaptionText("開く(&O)"), "開く");
  EXPECT_EQ(CaptionText("&File"), "File");
  EXPECT_EQ(CaptionText("100 %"), "100 %");
  EXPECT_EQ(CaptionText("水平線に沿って...(&H)"), "水平線に沿って...");
  EXPECT_EQ(NormalizeShortcut("ctrl+z"), "Ctrl+Z");
  EXPECT_EQ(NormalizeShortcut("RIGHT"), "Right");
  EXPECT_EQ(NormalizeShortcut("Shift+Ctrl+a"), "Ctrl+Shift+A");
  EXPECT_EQ(NormalizeShortcut("Ctrl++"), "Ctrl++");
  EXPECT_EQ(NormalizeShortcut("escape"), "Esc");
  EXPECT_EQ(NormalizeShortcut("Esc"), "Esc");
  EXPECT_EQ(NormalizeShortcut("Ctrl+"), "");
  EXPECT_EQ(NormalizeShortcut("Hyper+X"), "");

  MenuModel menus;
  MenuItem zoom;
  zoom.name = "N17";
  zoom.caption = "倍率指定(&Z)";
  menus.Add(kMainMenu, std::move(zoom));
  menus.Add("N17", MakeMenuItem("N14", "倍率指定", [] {}));
  EXPECT_EQ(menus.FindByCaption("倍率指定")->name, "N14");  // the item, not its submenu
  menus
      .Add("N17", MakeMenuItem(
                      "Up1", "倍率Up", [] {}, "Up"))
      .visible = false;
  EXPECT_EQ(menus.FindByShortcut("up")->name, "Up1");
}

TEST(MenuModel, AKeyRunsTheOpeningHandlersFromTheTopThenClicksOnlyWhatTheyLeftEnabled) {
  MenuModel menus;
  std::vector<std::string> events;
  bool viewOpen = true, zoomOpen = true;
  menus.Add(kMainMenu, MakeMenu("N7", "表示(&S)", [&] {
              events.push_back("N7");
              menus.SetEnabled("N17", zoomOpen);
            }));
  menus.Add("N7", MakeMenu("N17", "倍率指定(&Z)", [&] {
              events.push_back("N17");
              menus.SetEnabled("Up1", viewOpen);
            }));
  MenuItem& up = menus.Add("N17", MakeMenuItem(
                                      "Up1", "倍率Up", [&] { events.push_back("Up1"); }, "Up"));
  up.enabled = false;  // left so by an earlier opening: the key must not go by it
  up.visible = false;  // a binding only: keys reach it all the same

  EXPECT_TRUE(menus.ClickByKey("Up1"));
  EXPECT_EQ(events, (std::vector<std::string>{"N7", "N17", "Up1"}));

  // The item's handler is held back when the item or a menu above it is disabled now.
  events.clear();
  viewOpen = false;
  EXPECT_FALSE(menus.ClickByKey("Up1"));
  viewOpen = true;
  zoomOpen = false;
  EXPECT_FALSE(menus.ClickByKey("Up1"));
  // The submenu is disabled, but its opening handler still ran, as its parent's did.
  EXPECT_EQ(events, (std::vector<std::string>{"N7", "N17", "N7", "N17"}));
}

}  // namespace
}  // namespace mv
