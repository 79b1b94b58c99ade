// The histogram commands against a recording option library: what the dialogs are given, and that
// the library is released on every way out of a command.

#include <gtest/gtest.h>

#include <sstream>

#include "colourcommands/ColourCommands.h"
#include "macro/ScriptedDesktop.h"
#include "support/Pictures.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

// Answers every histogram dialog with `record`, remembers the image it was shown and counts the
// sessions still loaded.
class RecordingLibrary : public OptionLibrary {
 public:
  HistogramRecord record;
  Bitmap shown;
  int loaded = 0;

  std::unique_ptr<OptionSession> Load() override { return std::make_unique<Session>(*this); }

 private:
  class Session : public OptionSession {
   public:
    explicit Session(RecordingLibrary& library) : library_(library) { ++library_.loaded; }
    ~Session() override { --library_.loaded; }
    int32_t CompressDialog() override { return 0; }
    LengthAndUnit GetLengthAndUnit(double, int32_t) override { return {}; }
    void ShowVersion(const std::string&) override {}
    void ShowSetting(const std::string&) override {}
    int32_t GetAlphaBlendVal() override { return -1; }
    int32_t TransBackColor() override { return -1; }
    double DirectZoomRatio(double) override { return 0; }
    Point GetPointAndSize(Point, int32_t) override { return {-1, -1}; }
    void ShowCustomFilter(CustomFilterRecord&) override {}
    void ShowHistgram(const Bitmap& image) override { library_.shown = image; }
    HistogramRecord GetHistgramHiLow(const Bitmap& image) override { return Shown(image); }
    HistogramRecord GetHistgramRange(const Bitmap& image) override { return Shown(image); }

   private:
    HistogramRecord Shown(const Bitmap& image) {
      library_.shown = image;
      return library_.record;
    }
    RecordingLibrary& library_;
  };
};

class LibraryDesktop : public ScriptedDesktop {
 public:
  using ScriptedDesktop::ScriptedDesktop;
  OptionLibrary& GetOptionLibrary() override { return library; }
  RecordingLibrary library;
};

class HistogramCommandsTest : public ::testing::Test {
 protected:
  HistogramCommandsTest() {
    window_.Load(test::Gradient(40, 30));
    form_.MenuOpening("N35");
  }
  void Select(Point from, Point to) {
    MouseEvent event;
    event.x = from.x;
    event.y = from.y;
    form_.ImageMouseDown(event);
    event.x = to.x;
    event.y = to.y;
    form_.ImageMouseMove(event);
    form_.ImageMouseUp(event);
  }

  std::ostringstream out_;
  LibraryDesktop desktop_{out_, "/nonexistent"};
  test::WindowCore window_{desktop_, "/nonexistent"};
  TForm1& form_ = window_.form;
  RecordingLibrary& library_ = desktop_.library;
};

TEST_F(HistogramCommandsTest, EveryDialogSeesTheProcessingRectangleAndTheLibraryIsReleasedOnEveryPath) {
  Select({5, 4}, {15, 10});
  for (const char* item : {"N56", "E2", "W4"}) {
    for (const int32_t status : {-2, -1, -7, 0}) {
      const Bitmap before = form_.image.Picture();
      library_.shown = Bitmap();
      library_.record = {10, 20, status, 0};
      form_.MenuChosen(item);
      EXPECT_TRUE(library_.shown == before.CopyRegion(5, 4, 10, 6)) << item;
      EXPECT_EQ(library_.loaded, 0) << item << " " << status;
      const bool changes = status >= 0 && item != std::string("N56");
      EXPECT_EQ(form_.image.Picture() == before, !changes) << item << " " << status;
    }
  }
  // A stretch of lo = hi raises in the pixel operation: the error box, the picture as it was, the
  // library released all the same.
  const Bitmap last = form_.image.Picture();
  const std::size_t entries = form_.history.UndoCache.size();
  library_.record = {100, 100, 0, 0};
  form_.MenuChosen("E2");
  EXPECT_NE(out_.str().find("box error \"Division by zero.\""), std::string::npos) << out_.str();
  EXPECT_TRUE(form_.image.Picture() == last);
  EXPECT_EQ(form_.history.UndoCache.size(), entries);
  EXPECT_EQ(library_.loaded, 0);
}

}  // namespace
}  // namespace mv
