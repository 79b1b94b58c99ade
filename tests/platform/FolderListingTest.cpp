#include "platform/FolderListing.h"
#include "platform/UserName.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

namespace mv {
namespace {

TEST(FolderListing, DotsComeFirstThenNamesInCaseInsensitiveOrder) {
  const test::TempFolder temp;
  const std::string folder = temp.String();
  for (const char* name : {"b.png", "_under.png", "A.jpg", "a.JPG", "!first", "Z", "c.d"}) {
    std::ofstream(folder + "/" + name) << "x";
  }
  mkdir((folder + "/sub").c_str(), 0700);
  const auto entries = ListFolderEntries(folder);
  ASSERT_TRUE(entries);
  // Upper-case folding puts letters before '_' (0x5F); equal folded names keep byte order.
  const std::vector<std::string> expected = {".",     "..",  "!first", "A.jpg", "a.JPG",
                                             "b.png", "c.d", "sub",    "Z",     "_under.png"};
  EXPECT_EQ(*entries, expected);
}

TEST(FolderListing, AFolderThatCannotBeOpenedGivesNothing) {
  EXPECT_FALSE(ListFolderEntries("/nonexistent/folder/here"));
}

TEST(FolderListing, OrderIsAStrictWeakOrder) {
  EXPECT_FALSE(FolderEntryBefore("a", "a"));
  EXPECT_TRUE(FolderEntryBefore("..", "!"));
  EXPECT_TRUE(FolderEntryBefore(".", ".."));
  EXPECT_TRUE(FolderEntryBefore("ab", "abc"));
  EXPECT_TRUE(FolderEntryBefore("AB", "ab"));
  EXPECT_FALSE(FolderEntryBefore("ab", "AB"));
}

TEST(UserName, IsTheEffectiveUsersLoginName) {
  const std::string name = CurrentUserName();
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(name.find('/'), std::string::npos);
}

}  // namespace
}  // namespace mv
