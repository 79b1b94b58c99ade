#include <gtest/gtest.h>

#include <sstream>

#include "filtercommands/FilterCommands.h"
#include "macro/ScriptedDesktop.h"
#include "platform/ProgramFolder.h"
#include "support/Pictures.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

class FilterCommandsTest : public ::testing::Test {
 protected:
  explicit FilterCommandsTest(const std::string& folder = ExecutableFolder())
      : desktop_(out_, folder), window_(desktop_, folder) {
    window_.Load(test::Gradient(40, 30));
  }

  void Choose(const std::string& item, const std::string& menu) {
    form_.MenuOpening(menu);
    form_.MenuChosen(item);
  }
  void AnswerOk() { desktop_.Answers().Push(Answer{"option", {"ok"}}); }

  std::ostringstream out_;
  ScriptedDesktop desktop_;
  test::WindowCore window_;
  TForm1& form_ = window_.form;
};

class WithoutKernelLibrary : public FilterCommandsTest {
 protected:
  WithoutKernelLibrary() : FilterCommandsTest("/nonexistent") {}
};

TEST_F(WithoutKernelLibrary, EveryFilterAndEffectEndsWithTheBoxAndChangesNothing) {
  const Bitmap before = form_.image.Picture();
  for (const auto& [item, menu] : {std::pair{"F1", "P2"},
                                   {"D2", "P2"},
                                   {"A3", "P2"},
                                   {"N53", "P2"},
                                   {"V2", "P2"},
                                   {"G1", "P2"},
                                   {"S5", "P2"},
                                   {"S3", "P2"},
                                   {"N2V1", "P2"},
                                   {"E3", "P2"},
                                   {"L1", "P2"},
                                   {"E1", "T1"},
                                   {"BlurB1", "T1"},
                                   {"W5", "T1"}}) {
    out_.str("");
    AnswerOk();
    Choose(item, menu);
    EXPECT_TRUE(form_.image.Picture() == before) << item;
    EXPECT_EQ(form_.history.UndoCache.size(), 1u) << item;
    EXPECT_NE(out_.str().find("box error \"\\r\\nmvfilters.soが見つかりませんでした"), std::string::npos)
        << item << ": " << out_.str();
  }
}

TEST_F(FilterCommandsTest, APassWithoutResultIsRecordedExceptForEmbossWhichWouldEraseTheRectangle) {
  form_.settings.ShowProgress = true;
  const Bitmap before = form_.image.Picture();
  // The option dialog's thumbnail is made under the first progress dialog, the pass runs under the
  // second.
  desktop_.CancelNextProgressAt(3, 2);
  AnswerOk();
  Choose("A3", "P2");
  EXPECT_EQ(form_.controls.label1, "キャンセルしました");
  EXPECT_TRUE(form_.image.Picture() == before);
  EXPECT_EQ(form_.history.UndoCache.size(), 2u);

  desktop_.CancelNextProgressAt(3, 2);
  AnswerOk();
  Choose("E1", "T1");
  EXPECT_EQ(form_.controls.label1, "キャンセルしました");
  EXPECT_TRUE(form_.image.Picture() == before);
  EXPECT_EQ(form_.history.UndoCache.size(), 2u);
}

TEST_F(FilterCommandsTest, ACancelledDialogChangesAndRecordsNothing) {
  const Bitmap before = form_.image.Picture();
  for (const auto& [item, menu] : {std::pair{"A3", "P2"}, {"S3", "P2"}, {"L1", "P2"}, {"N59", "T1"}}) {
    desktop_.Answers().Push(Answer{"option", {"cancel"}});
    Choose(item, menu);
    EXPECT_EQ(form_.controls.label1, "キャンセルしました") << item;
    EXPECT_TRUE(form_.image.Picture() == before);
    EXPECT_EQ(form_.history.UndoCache.size(), 1u);
  }
}

TEST_F(FilterCommandsTest, TheCustomPassDrawsThroughAnyRasterOperationInsideTheRectangleOnly) {
  // The identity kernel's result XORed over the picture gives black inside the selection; the
  // outside keeps its pixels.
  form_.selection.SelectionStart = {5, 4};
  form_.selection.SelectionEnd = {15, 12};
  form_.selection.SelectionActive = true;
  const Bitmap before = form_.image.Picture();
  FilterCommands& filters = *form_.FindSubsystem<FilterCommands>();
  form_.Run([&] { filters.CustomPass({0, 0, 0, 0, 1, 0, 0, 0, 0}, 0, "XOR", 0, 0x00660046, 1.0); });
  EXPECT_EQ(form_.image.Picture().ColorAt(5, 4), 0u);
  EXPECT_EQ(form_.image.Picture().ColorAt(14, 11), 0u);
  EXPECT_EQ(form_.image.Picture().ColorAt(15, 11), before.ColorAt(15, 11));
  EXPECT_EQ(form_.image.Picture().ColorAt(4, 4), before.ColorAt(4, 4));
  EXPECT_EQ(form_.controls.label1, "XORが完了しました");
  EXPECT_EQ(form_.history.UndoCache.size(), 2u);
}

}  // namespace
}  // namespace mv
