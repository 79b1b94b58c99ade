#include "macro/MacroScript.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "macro/MacroRunner.h"
#include "macro/ScriptedDesktop.h"

namespace mv {
namespace {

TEST(MacroScript, SplitsLinesIntoTokensWithQuotesAndEscapes) {
  const auto lines = SplitMacro(
      "# a comment\r\n\n  open \"my dir/a b.png\"\r\nexpect message \"say \\\"hi\\\"\\\\\\r\\n\"\nmenu "
      "2値化\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].number, 3);
  EXPECT_EQ(lines[0].tokens, (std::vector<std::string>{"open", "my dir/a b.png"}));
  EXPECT_EQ(lines[1].tokens[2], "say \"hi\"\\\r\n");
  EXPECT_EQ(lines[2].tokens[1], "2値化");
  EXPECT_EQ(SplitMacro("print message \"\"\n")[0].tokens[2], "");
}

TEST(MacroScript, BrokenTokensAreSyntaxErrorsNamingTheLine) {
  try {
    SplitMacro("tick\nopen \"unterminated\n");
    FAIL();
  } catch (const MacroSyntaxError& error) {
    EXPECT_STREQ(error.what(), "line 2: unterminated quote");
  }
  EXPECT_THROW(SplitMacro("open \"a\\tb\""), MacroSyntaxError);
  // The system would end the path at the NUL byte and open grad.bmp.
  try {
    SplitMacro(std::string("tick\nopen grad.bmp\0.evil.png\n", 30));
    FAIL();
  } catch (const MacroSyntaxError& error) {
    EXPECT_STREQ(error.what(), "line 2: NUL byte in the line");
  }
  EXPECT_THROW(SplitMacro("open \"a\"b"), MacroSyntaxError);
}

TEST(MacroScript, QuoteIsTheInverseOfTheFilesEscapes) {
  const std::string text = "\r\n画像が\"変更\"\\されています";
  EXPECT_EQ(Quote(text), "\"\\r\\n画像が\\\"変更\\\"\\\\されています\"");
  EXPECT_EQ(SplitMacro("x " + Quote(text))[0].tokens[1], text);
  EXPECT_EQ(ParseMacroInteger("-12"), -12);
  EXPECT_FALSE(ParseMacroInteger("12px"));
  EXPECT_FALSE(ParseMacroInteger(""));
}

TEST(MacroCommandLine, AMacroPathThatCannotBeReadEndsTheRunWithStatusTwoAndSaysWhy) {
  char folder[] = "/tmp/mv-macro-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  for (const std::string& path : {std::string(folder), std::string(folder) + "/missing.mac"}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunMacroCommandLine({"--macro", path, "--program-folder", folder}), 2);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("mirvane: cannot read the macro file " + path + ": ", 0), 0u) << said;
  }
  rmdir(folder);
}

// As the runner's description says: a box whose only button is OK takes OK without an answer, plain
// and warning boxes too (a warning at start, such as an unreadable settings file, ended runs).
TEST(ScriptedDesktop, BoxesWithOnlyAnOkButtonNeedNoAnswer) {
  std::ostringstream out;
  ScriptedDesktop desktop(out, "/tmp");
  for (const BoxKind kind : {BoxKind::Plain, BoxKind::Warning, BoxKind::Information, BoxKind::Error})
    EXPECT_EQ(desktop.ShowMessageBox(kind, "x", kOK, 0), kOK);
  EXPECT_EQ(out.str(), "box plain \"x\"\nbox warning \"x\"\nbox info \"x\"\nbox error \"x\"\n");
}

}  // namespace
}  // namespace mv
