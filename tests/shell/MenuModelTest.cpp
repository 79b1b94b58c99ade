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

}  // namespace
}  // namespace mv
