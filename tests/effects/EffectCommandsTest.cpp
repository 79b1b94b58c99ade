#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "effects/EffectCommands.h"
#include "macro/ScriptedDesktop.h"
#include "platform/Canvas.h"
#include "platform/ProgramFolder.h"
#include "support/Pictures.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

Bitmap RandomPicture(int w, int h, std::mt19937& rng) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < 3 * w; ++x) b.Row(y)[x] = static_cast<uint8_t>(rng());
  return b;
}

// The rectangles the steps are checked on: corners at every offset modulo 8 (the hatch's period)
// and the thinnest shapes.
std::vector<Rect> Rectangles(std::mt19937& rng) {
  std::vector<Rect> rects{{0, 0, 1, 1}, {3, 2, 4, 9}, {5, 7, 17, 8}, {1, 1, 3, 3}, {0, 0, 30, 20}};
  std::uniform_int_distribution<int> corner(0, 15), size(1, 14);
  for (int i = 0; i < 12; ++i) {
    const int left = corner(rng), top = corner(rng);
    rects.push_back({left, top, std::min(30, left + size(rng)), std::min(20, top + size(rng))});
  }
  return rects;
}

TEST(EffectPictures, EmbossAndColourPencilLeaveWhatTheirCanvasStepsLeave) {
  std::mt19937 rng(3);
  for (const Rect& rect : Rectangles(rng)) {
    const Bitmap image = RandomPicture(30, 20, rng);
    const Bitmap region = image.CopyRegion(rect.left, rect.top, rect.Width(), rect.Height());
    const Bitmap filtered = RandomPicture(rect.Width(), rect.Height(), rng);

    // Emboss: the rectangle with the base colour as brush and the canvas's black pen, the
    // filtered picture ORed over it.
    const ColorRef base = MakeColor(128, 40, 3);
    Bitmap embossed = image;
    {
      Canvas canvas(embossed);
      canvas.SetBrushColor(base);
      canvas.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
      canvas.Draw(rect.left, rect.top, filtered, rop::kSrcPaint);
    }
    EXPECT_EQ(EmbossOverBaseColour(filtered, base),
              embossed.CopyRegion(rect.left, rect.top, rect.Width(), rect.Height()));

    // Colour pencil: the picture inverted from the corner on, a white-pen rectangle with the black
    // hatch, the filtered picture ANDed, inverted again.
    Bitmap pencilled = image;
    {
      Canvas canvas(pencilled);
      const auto invertFromCorner = [&] {
        canvas.Draw(rect.left, rect.top, Bitmap(pencilled.Width(), pencilled.Height()), rop::kDstInvert);
      };
      invertFromCorner();
      canvas.SetPenColor(colors::kWhite);
      canvas.SetBrushColor(colors::kBlack);
      canvas.SetBrushStyle(BrushStyle::BDiagonal);
      canvas.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
      canvas.Draw(rect.left, rect.top, filtered, rop::kSrcAnd);
      invertFromCorner();
    }
    EXPECT_EQ(PencilOverRegion(filtered, region, rect),
              pencilled.CopyRegion(rect.left, rect.top, rect.Width(), rect.Height()))
        << rect.left << "," << rect.top << " " << rect.Width() << "x" << rect.Height();
    // Outside the rectangle the picture is inverted twice.
    if (rect.right < 30 || rect.bottom < 20) {
      EXPECT_EQ(pencilled.ColorAt(29, 19), image.ColorAt(29, 19));
    }
  }
}

class EffectCommandsTest : public ::testing::Test {
 protected:
  EffectCommandsTest() { window_.Load(test::Plate(60, 40, MakeColor(100, 100, 100))); }

  std::ostringstream out_;
  ScriptedDesktop desktop_{out_, ExecutableFolder()};
  test::WindowCore window_{desktop_, ExecutableFolder()};
  TForm1& form_ = window_.form;
  EffectCommands& effects_ = *form_.FindSubsystem<EffectCommands>();
};

TEST_F(EffectCommandsTest, AWaveRequestEndedByAnotherCommandGivesTheImageCommandsBack) {
  const auto imageCommandsOn = [&] {
    return form_.menus.Get("A2").enabled && form_.menus.Get("N901").enabled;
  };
  form_.Run([&] { effects_.W6Click(); });
  EXPECT_FALSE(imageCommandsOn());
  form_.Run([&] { form_.Tag = kSelectionMode; });  // as undo, redo or the abort item leave it
  EXPECT_TRUE(imageCommandsOn());

  // The centre is clicked while the dialog is cancelled: nothing changes, the commands come back.
  form_.Run([&] { effects_.N60Click(); });
  desktop_.Answers().Push(Answer{"option", {"cancel"}});
  MouseEvent click;
  click.x = 30;
  click.y = 20;
  form_.ImageMouseDown(click);
  EXPECT_EQ(form_.Tag, kSelectionMode);
  EXPECT_TRUE(imageCommandsOn());
  EXPECT_EQ(form_.history.UndoCache.size(), 1u);
}

}  // namespace
}  // namespace mv
