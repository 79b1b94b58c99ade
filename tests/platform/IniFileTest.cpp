#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/TempFolder.h"

namespace mv {
namespace {

TEST(IniFile, SectionsAndKeysIgnoreCaseAndTheFirstMatchWins) {
  const IniFile ini =
      IniFile::Parse("[Zoom]\r\nratio = 0.5 \r\nRatio=0.75\r\n[zoom]\r\nRatio=2\r\n[Other]\r\nRATIO=3\r\n");
  EXPECT_EQ(ini.ReadString("ZOOM", "rAtIo"), "0.5");
  EXPECT_EQ(ini.ReadString("other", "ratio"), "3");
  EXPECT_EQ(ini.ReadString("Zoom", "missing"), std::nullopt);
  EXPECT_EQ(ini.ReadString("Missing", "Ratio"), std::nullopt);
}

TEST(IniFile, BrokenLinesAreSkippedAndKeysBeforeAnySectionBelongToNone) {
  const IniFile ini = IniFile::Parse("Orphan=1\n[A\ngarbage line\n=novalue\n[A]\n  x  =  spaced value \n[B]");
  EXPECT_EQ(ini.ReadString("A", "x"), "spaced value");
  EXPECT_EQ(ini.ReadString("A", "Orphan"), std::nullopt);
  EXPECT_EQ(ini.ReadString("A", ""), std::nullopt);
  EXPECT_EQ(ini.ReadString("B", "x"), std::nullopt);
}

TEST(IniFile, TypedReadsFallBackOnAnythingTheyCannotRead) {
  const IniFile ini = IniFile::Parse(
      "[S]\nDec=-42\nHex=$1F\nHexC=0x10\nAllBits=$FFFFFFFF\nBig=2147483648\nWord=true\nEmpty=\n"
      "F=0.75\nFExp=1e-05\nFComma=0,75\nFTail=1.5abc\nFInf=inf\nFNeg=-2\nPlus=+7\nSigns=+-7\n");
  EXPECT_EQ(ini.ReadInteger("S", "Dec", 0), -42);
  EXPECT_EQ(ini.ReadInteger("S", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("S", "HexC", 0), 16);
  EXPECT_EQ(ini.ReadInteger("S", "AllBits", 0), -1);
  EXPECT_EQ(ini.ReadInteger("S", "Big", 9), 9);
  EXPECT_EQ(ini.ReadInteger("S", "Word", 9), 9);
  EXPECT_EQ(ini.ReadInteger("S", "Empty", 9), 9);
  EXPECT_EQ(ini.ReadInteger("S", "Plus", 0), 7);
  EXPECT_EQ(ini.ReadInteger("S", "Signs", 5), 5);
  EXPECT_TRUE(ini.ReadBool("S", "Dec", false));
  EXPECT_TRUE(ini.ReadBool("S", "Word", true));
  EXPECT_FALSE(ini.ReadBool("S", "Word", false));
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "F", 1), 0.75);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "FExp", 1), 1e-5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "FComma", 1), 1);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "FTail", 1), 1);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "FInf", 1), 1);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "FNeg", 1), -2);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "Missing", 1.25), 1.25);
}

TEST(IniFile, WritingKeepsOtherLinesAndPlacesNewKeysAtTheEndOfTheirSection) {
  IniFile ini =
      IniFile::Parse("; my settings\r\n[mirvane]\r\nTop=5\r\nnoise\r\n\r\n[Pen]\r\nColor=clRed\r\n");
  ini.WriteInteger("MIRVANE", "top", 7);
  ini.WriteInteger("mirvane", "Left", 3);
  ini.WriteString("Pen", "Color", "clBlue");
  ini.WriteBool("Mode", "GraphicViewer", true);
  ini.WriteFloat("Zoom", "Ratio", 1.0 / 3.0);
  EXPECT_EQ(ini.Text(),
            "; my settings\r\n[mirvane]\r\ntop=7\r\nnoise\r\nLeft=3\r\n\r\n[Pen]\r\nColor=clBlue\r\n"
            "[Mode]\r\nGraphicViewer=1\r\n[Zoom]\r\nRatio=0.333333333333333\r\n");
}

TEST(IniFile, KeepsTheLineEndsOfTheFileItRead) {
  IniFile ini = IniFile::Parse("[A]\nx=1\n");
  ini.WriteString("A", "y", "2");
  EXPECT_EQ(ini.Text(), "[A]\nx=1\ny=2\n");
  IniFile fresh;
  fresh.WriteString("A", "x", "1");
  EXPECT_EQ(fresh.Text(), "[A]\r\nx=1\r\n");
}

class IniFileOnDisk : public ::testing::Test {
 protected:
  test::TempFolder temp_;
  std::string folder_ = temp_.String();
};

TEST_F(IniFileOnDisk, AMissingFileReadsAsEmptyAndSaveReplacesTheFileWhole) {
  const std::string path = folder_ + "/user.ini";
  EXPECT_EQ(IniFile::Load(path).ReadString("A", "x"), std::nullopt);
  IniFile ini = IniFile::Load(path);
  ini.WriteString("A", "x", "1");
  ini.Save(path);
  IniFile again = IniFile::Load(path);
  EXPECT_EQ(again.ReadString("a", "X"), "1");
  again.WriteString("A", "x", "2");
  again.Save(path);
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "[A]\r\nx=2\r\n");
  // Only the settings file remains: the temporary file was renamed over it.
  EXPECT_EQ(std::system(("test $(ls -A '" + folder_ + "' | wc -l) -eq 1").c_str()), 0);
}

TEST_F(IniFileOnDisk, AnUnwritableFolderIsReportedAndTheOldFileStays) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
  const std::string path = folder_ + "/user.ini";
  IniFile ini;
  ini.WriteString("A", "x", "1");
  ini.Save(path);
  chmod(folder_.c_str(), 0500);
  ini.WriteString("A", "x", "2");
  EXPECT_THROW(ini.Save(path), IniWriteError);
  chmod(folder_.c_str(), 0700);
  EXPECT_EQ(IniFile::Load(path).ReadString("A", "x"), "1");
}

TEST_F(IniFileOnDisk, AFolderInPlaceOfTheFileCannotBeWrittenAndReadsAsEmpty) {
  const std::string path = folder_ + "/user.ini";
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  EXPECT_EQ(IniFile::Load(path).ReadString("A", "x"), std::nullopt);
  IniFile ini;
  ini.WriteString("A", "x", "1");
  EXPECT_THROW(ini.Save(path), IniWriteError);
}

// What a settings file can be besides a file of ours: Read tells "nothing there" (defaults) from
// "something there we cannot read" (to be reported and left alone), and never waits on a pipe.
TEST_F(IniFileOnDisk, ReadTellsAMissingFileFromOneThatCannotBeRead) {
  alarm(20);  // a regression that waits on the pipe fails instead of hanging
  const std::string path = folder_ + "/user.ini";
  EXPECT_TRUE(IniFile::Read(path).has_value());
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  EXPECT_FALSE(IniFile::Read(path).has_value());
  EXPECT_EQ(IniFile::Load(path).ReadString("A", "x"), std::nullopt);
  alarm(0);
  unlink(path.c_str());
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  EXPECT_FALSE(IniFile::Read(path).has_value());
  rmdir(path.c_str());

  // A file of a mebibyte of empty lines is no settings file; one just within the size still reads.
  std::string text = "[A]\r\nx=1\r\n";
  text.resize(IniFile::kMaxFileSize, '\n');
  {
    std::ofstream out(path, std::ios::binary);
    out << text;
  }
  ASSERT_TRUE(IniFile::Read(path).has_value());
  EXPECT_EQ(IniFile::Read(path)->ReadString("A", "x"), "1");
  {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << '\n';
  }
  EXPECT_FALSE(IniFile::Read(path).has_value());
}

TEST_F(IniFileOnDisk, AFileWithoutReadPermissionCannotBeReadSkippedForRoot) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads files of any permission";
  const std::string path = folder_ + "/user.ini";
  IniFile ini;
  ini.WriteString("A", "x", "1");
  ini.Save(path);
  chmod(path.c_str(), 0);
  EXPECT_FALSE(IniFile::Read(path).has_value());
}

TEST_F(IniFileOnDisk, SavingWritesThroughALinkAndLeavesAReadOnlyFileAlone) {
  const std::string target = folder_ + "/shared.ini", link = folder_ + "/user.ini";
  IniFile ini;
  ini.WriteString("A", "x", "1");
  ini.Save(target);
  chmod(target.c_str(), 0640);
  ASSERT_EQ(symlink("shared.ini", link.c_str()), 0);
  ini.WriteString("A", "x", "2");
  ini.Save(link);
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(IniFile::Load(target).ReadString("A", "x"), "2");
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(std::system(("test $(ls -A '" + folder_ + "' | wc -l) -eq 2").c_str()), 0);

  // No write permission for anyone marks the file read-only, for root too.
  chmod(target.c_str(), 0444);
  ini.WriteString("A", "x", "3");
  EXPECT_THROW(ini.Save(link), IniWriteError);
  EXPECT_THROW(ini.Save(target), IniWriteError);
  EXPECT_EQ(IniFile::Load(target).ReadString("A", "x"), "2");
}

}  // namespace
}  // namespace mv
