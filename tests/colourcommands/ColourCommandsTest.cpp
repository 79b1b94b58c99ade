#include <gtest/gtest.h>

#include <sstream>

#include "colour/ColorFunctions.h"
#include "colourcommands/ColourCommands.h"
#include "macro/ScriptedDesktop.h"
#include "support/Pictures.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

class ColourCommandsTest : public ::testing::Test {
 protected:
  ColourCommandsTest() { window_.Load(test::Gradient(40, 30)); }

  std::ostringstream out_;
  ScriptedDesktop desktop_{out_, "/nonexistent"};
  test::WindowCore window_{desktop_, "/nonexistent"};
  TForm1& form_ = window_.form;
  ColourCommands& colour_ = *form_.FindSubsystem<ColourCommands>();
};

TEST_F(ColourCommandsTest, TheMenuEnablesEveryItemItHoldsOnlyWithAPictureOutsideTransparencyMode) {
  // The histogram submenu, and an item another subsystem adds to the menu, follow the same rule.
  form_.menus.Add("N35", MakeMenuItem("X1", "追加(&X)", [] {})).enabled = false;
  form_.MenuOpening("N35");
  EXPECT_TRUE(form_.menus.Get("N211").enabled);
  EXPECT_TRUE(form_.menus.Get("H2").enabled);
  EXPECT_TRUE(form_.menus.Get("X1").enabled);

  if (form_.menus.Find("A1") == nullptr) form_.menus.Add("O1", MakeMenuItem("A1", "透過モード(&T)", [] {}));
  form_.menus.Get("A1").checked = true;
  form_.MenuOpening("N35");
  EXPECT_FALSE(form_.menus.Get("N48").enabled);
  EXPECT_FALSE(form_.menus.Get("H2").enabled);
  EXPECT_FALSE(form_.menus.Get("X1").enabled);
  EXPECT_FALSE(form_.menus.Get("XORX1").enabled);
}

TEST_F(ColourCommandsTest, AnOperationThatRaisesLeavesThePictureAndTheCacheWithTheErrorBox) {
  const Bitmap before = form_.image.Picture();
  for (const bool progress : {false, true}) {
    form_.settings.ShowProgress = progress;
    form_.Run([&] {
      colour_.Recolour("ポスタリゼーション", [](const Bitmap&) -> std::optional<ColourCall> {
        return ColourCall{std::make_unique<TPosterization>(), {0}, 1.0, 0};  // no levels: division by zero
      });
    });
    EXPECT_TRUE(form_.image.Picture() == before);
    EXPECT_EQ(form_.history.UndoCache.size(), 1u);
    EXPECT_NE(out_.str().find("box error \"Division by zero.\""), std::string::npos) << out_.str();
    EXPECT_EQ(form_.controls.label1.find("ポスタリゼーション"), std::string::npos);
  }
}

TEST_F(ColourCommandsTest, ACancelledRunDrawsNothingAndRecordsTheUnchangedPicture) {
  form_.settings.ShowProgress = true;
  const Bitmap before = form_.image.Picture();
  desktop_.CancelNextProgressAt(5);
  form_.Run([&] { colour_.N44Click(); });
  EXPECT_TRUE(form_.image.Picture() == before);
  EXPECT_EQ(form_.controls.label1, "キャンセルしました");
  ASSERT_EQ(form_.history.UndoCache.size(), 2u);
  EXPECT_TRUE(form_.history.UndoCache[1] == before);
}

}  // namespace
}  // namespace mv
