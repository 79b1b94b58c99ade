#include "platform/DynamicLibrary.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace mv {
namespace {

TEST(DynamicLibrary, OpensBySystemPathAndFindsExports) {
  DynamicLibrary libm("libm.so.6");
  ASSERT_TRUE(libm.IsLoaded()) << libm.Error();
  auto* cosine = libm.Function<double(double)>("cos");
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(libm.Symbol("no_such_export_here"), nullptr);
}

TEST(DynamicLibrary, AMissingFileIsNotLoadedAndSaysWhy) {
  DynamicLibrary missing("/nonexistent/folder/mvfilters.so");
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_FALSE(missing.Error().empty());
  EXPECT_EQ(missing.Symbol("GetFilter"), nullptr);
  DynamicLibrary moved(std::move(missing));
  EXPECT_FALSE(moved.IsLoaded());
}

TEST(DynamicLibrary, ANamedPipeInPlaceOfTheLibraryIsNotOpened) {
  char folder[] = "/tmp/mv-library-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string pipe = std::string(folder) + "/mvfilters.so";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  alarm(20);  // a regression that waits on the pipe fails instead of hanging
  const DynamicLibrary library(pipe);
  alarm(0);
  EXPECT_FALSE(library.IsLoaded());
  EXPECT_FALSE(library.Error().empty());
  unlink(pipe.c_str());
  rmdir(folder);
}

TEST(ProgramFolder, IsTheFolderOfTheTestExecutableNotTheCurrentDirectory) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '/');
  EXPECT_EQ(access((folder + "/platform_tests").c_str(), X_OK), 0);
}

}  // namespace
}  // namespace mv
