// Opening user-named files: named pipes neither hold the program nor pass as files, and the kinds
// of file each caller allows are told apart.

#include "platform/OpenFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace mv {
namespace {

class OpenFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/mv-open-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    alarm(20);  // a regression that waits on a pipe fails instead of hanging
  }
  void TearDown() override {
    alarm(0);
    std::system(("rm -rf '" + folder_ + "'").c_str());
  }
  std::string folder_;
};

TEST_F(OpenFileTest, NamedPipesAreRefusedAtOnceForReadingAndWriting) {
  const std::string pipe = folder_ + "/pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const int flags : {O_RDONLY, O_WRONLY | O_APPEND, O_WRONLY | O_APPEND | O_CREAT}) {
    const FileHandle handle = OpenFile(pipe, flags, FileKinds::RegularOrCharacterDevice);
    EXPECT_FALSE(handle.IsOpen());
    EXPECT_NE(handle.Error(), 0);
    EXPECT_NE(handle.Error(), ENOENT);
  }
}

TEST_F(OpenFileTest, EachCallerGetsTheKindsItAllows) {
  EXPECT_EQ(OpenFile(folder_, O_RDONLY, FileKinds::Regular).Error(), EISDIR);
  EXPECT_EQ(OpenFile(folder_ + "/missing", O_RDONLY, FileKinds::Regular).Error(), ENOENT);
  EXPECT_FALSE(OpenFile("/dev/null", O_WRONLY, FileKinds::Regular).IsOpen());
  const FileHandle null = OpenFile("/dev/null", O_WRONLY | O_APPEND, FileKinds::RegularOrCharacterDevice);
  ASSERT_TRUE(null.IsOpen());
  EXPECT_EQ(write(null.Descriptor(), "x", 1), 1);

  // A created file is a regular file, and the descriptor blocks as usual once open.
  const FileHandle created = OpenFile(folder_ + "/new.log", O_WRONLY | O_CREAT, FileKinds::Regular);
  ASSERT_TRUE(created.IsOpen());
  EXPECT_EQ(fcntl(created.Descriptor(), F_GETFL) & O_NONBLOCK, 0);
  EXPECT_NE(fcntl(created.Descriptor(), F_GETFD) & FD_CLOEXEC, 0);
  FileHandle moved = OpenFile(folder_ + "/new.log", O_RDONLY, FileKinds::Regular);
  const int descriptor = moved.Descriptor();
  FileHandle owner(std::move(moved));
  EXPECT_FALSE(moved.IsOpen());
  EXPECT_EQ(owner.Descriptor(), descriptor);
}

}  // namespace
}  // namespace mv
