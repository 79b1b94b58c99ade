#include "saving/SaveTarget.h"

#include <gtest/gtest.h>

#include "codecs/ImageFormats.h"

namespace mv {
namespace {

TEST(SaveTarget, TheFilesOwnNameChoosesTheFormatCaseSensitivelyAndOtherNamesBecomeBmp) {
  const struct {
    const char* chosen;
    int32_t format;
    const char* written;
  } cases[] = {
      {"/p/a.jpg", kFormatJpeg, "/p/a.jpg"},
      {"/p/a.gif", kFormatGif, "/p/a.gif"},
      {"/p/a.png", kFormatPng, "/p/a.png"},
      {"/p/a.bmp", kFormatBmp, "/p/a.bmp"},
      // Anywhere in the name, tested in the order JPEG, GIF, PNG.
      {"/p/a.png.jpg", kFormatJpeg, "/p/a.png.jpg"},
      {"/p/a.jpg.png", kFormatJpeg, "/p/a.jpg.png"},
      {"/p/a.gif.old", kFormatGif, "/p/a.gif.old"},
      {"/p/a.bmp.old", kFormatBmp, "/p/a.bmp.old"},
      // Upper case and unknown names are BMP with ".bmp" added to the whole name.
      {"/p/a.JPG", kFormatBmp, "/p/a.JPG.bmp"},
      {"/p/a", kFormatBmp, "/p/a.bmp"},
      {"/p/a.tiff", kFormatBmp, "/p/a.tiff.bmp"},
      // Folders above the file do not count.
      {"/p/x.png/a", kFormatBmp, "/p/x.png/a.bmp"},
      {"/p/x.jpg/a.gif", kFormatGif, "/p/x.jpg/a.gif"},
  };
  for (const auto& c : cases) {
    const SaveTarget target = ChooseSaveTarget(c.chosen);
    EXPECT_EQ(target.format, c.format) << c.chosen;
    EXPECT_EQ(target.path, c.written) << c.chosen;
  }
}

}  // namespace
}  // namespace mv
