#include "macro/ScriptedOptionLibrary.h"

#include <gtest/gtest.h>

#include <sstream>

#include "macro/MacroExit.h"

namespace mv {
namespace {

TEST(ScriptedOptionLibrary, OneCompressDialogAnswerServesEitherFormOfTheQualityDialog) {
  AnswerQueue answers;
  answers.Push({"lib", {"CompressDialog", "85"}});
  answers.Push({"lib", {"CompressDialog", "0"}});
  std::ostringstream out;
  ScriptedOptionLibrary library(answers, out, "/tmp");
  EXPECT_EQ(library.Load()->CompressDialogFor(Bitmap(3, 2)), 85);
  EXPECT_EQ(library.Load()->CompressDialog(), 0);
  EXPECT_THROW(library.Load()->CompressDialogFor(Bitmap(3, 2)), MacroExit);
  EXPECT_EQ(out.str(), "unanswered lib \"CompressDialog\"\n");
}

}  // namespace
}  // namespace mv
