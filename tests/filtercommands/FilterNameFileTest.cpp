#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "filtercommands/FilterNameFile.h"
#include "support/TempFolder.h"

namespace mv {
namespace {

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(FilterNameFile, TheFirstLineNamesTheFilterWhenItIsAUsableName) {
  const test::TempFolder folder;
  const std::string path = folder.File(kFilterNameFileName);
  const auto caption = [&](const std::string& bytes) {
    Write(path, bytes);
    return CustomFilterCaption(path);
  };
  EXPECT_EQ(caption("エッジ強調\r\n2行目\r\n"), "エッジ強調");
  EXPECT_EQ(caption("\xEF\xBB\xBFぼかし\n"), "ぼかし");  // a byte-order mark is not part of the name
  EXPECT_EQ(caption("no line end"), "no line end");
  EXPECT_EQ(caption(""), kDefaultCustomFilterCaption);
  EXPECT_EQ(caption("\r\nsecond"), kDefaultCustomFilterCaption);                  // an empty first line
  EXPECT_EQ(caption(std::string("ab\0cd\r\n", 7)), kDefaultCustomFilterCaption);  // binary
  EXPECT_EQ(caption("\x89PNG\x1a\n"), kDefaultCustomFilterCaption);               // not UTF-8
  EXPECT_EQ(caption("caf\xC3\r\n"), kDefaultCustomFilterCaption);                 // cut off in a character
  EXPECT_EQ(caption("\x1b[31mred\n"), kDefaultCustomFilterCaption);               // a control character
  // A huge file: its short first line still names it; a first line longer than a name can be does not.
  EXPECT_EQ(caption("short\n" + std::string(3 << 20, 'x')), "short");
  EXPECT_EQ(caption(std::string(3 << 20, 'x')), kDefaultCustomFilterCaption);
  EXPECT_EQ(caption(std::string(1024, 'y') + "\n"), std::string(1024, 'y'));
  EXPECT_EQ(CustomFilterCaption(folder.File("none")), kDefaultCustomFilterCaption);
}

TEST(FilterNameFile, OtherKindsOfFileGiveTheDefaultWithoutWaitingAndAreRemoved) {
  const test::TempFolder folder;
  const std::string path = folder.File(kFilterNameFileName);
  // A named pipe nobody writes to would block a plain read.
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  EXPECT_EQ(CustomFilterCaption(path), kDefaultCustomFilterCaption);
  RemoveFilterNameFile(path);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(path)));

  // A link goes, the file it points to stays.
  const std::string target = folder.File("target.txt");
  Write(target, "target\n");
  std::filesystem::create_symlink(target, path);
  EXPECT_EQ(CustomFilterCaption(path), "target");
  RemoveFilterNameFile(path);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(path)));
  EXPECT_TRUE(std::filesystem::exists(target));

  // A folder of that name is no name file and is left alone.
  std::filesystem::create_directory(path);
  Write(path + "/inside", "x");
  EXPECT_EQ(CustomFilterCaption(path), kDefaultCustomFilterCaption);
  RemoveFilterNameFile(path);
  EXPECT_TRUE(std::filesystem::is_directory(path));
  RemoveFilterNameFile(folder.File("never-there"));
}

}  // namespace
}  // namespace mv
