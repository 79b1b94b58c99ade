// The format table: each format's writer and reader meet through a file, and reading a file finds
// its format by content, whatever the name.

#include <gtest/gtest.h>

#include <filesystem>

#include "TestImages.h"
#include "codecs/ImageFile.h"
#include "codecs/ImageFormats.h"
#include "platform/Numbers.h"

namespace mv {
namespace {

namespace fs = std::filesystem;

TEST(ImageFormats, EachFormatWritesWithItsOptionsAFileThatReadingFindsByContent) {
  const fs::path folder = fs::temp_directory_path() / ("mv-formats-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const Bitmap picture = test::AsymmetricImage(24, 16, PixelFormat::Bgr24);
  int32_t expectedId = 1;
  for (const ImageFormat& format : ImageFormats()) {
    SCOPED_TRACE(std::string(format.name));
    EXPECT_EQ(format.id, expectedId++);  // the table is in LoadedFormat order, which is the reading order
    EXPECT_EQ(FindImageFormat(format.id), &format);
    const std::string path = (folder / ("picture" + std::string(format.extension) + ".data")).string();
    EncodeOptions options;
    options.jpegQuality = 100;
    format.encode(path, picture, options);
    const std::optional<DecodedImage> read = ReadImageFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->format, format.id);
    EXPECT_EQ(format.decode(ByteSource::OpenFile(path)).Width(), 24);
    if (format.id == kFormatBmp || format.id == kFormatPng) {
      EXPECT_TRUE(read->bitmap == picture);
    }
  }
  // The options reach the writers.
  const std::string jpeg = (folder / "low.jpg").string(), png = (folder / "filtered.png").string();
  EncodeOptions low;
  low.jpegQuality = 5;
  low.png.compressionLevel = 0;
  FindImageFormat(kFormatJpeg)->encode(jpeg, picture, low);
  FindImageFormat(kFormatPng)->encode(png, picture, low);
  EXPECT_LT(fs::file_size(jpeg), fs::file_size(folder / "picture.jpg.data"));
  EXPECT_GT(fs::file_size(png), fs::file_size(folder / "picture.png.data"));
  EncodeOptions outOfRange;
  outOfRange.jpegQuality = 0;
  EXPECT_THROW(FindImageFormat(kFormatJpeg)->encode(jpeg, picture, outOfRange), RangeError);
  EXPECT_EQ(FindImageFormat(kFormatNone), nullptr);
  EXPECT_EQ(FindImageFormat(5), nullptr);
  EXPECT_FALSE(ReadImageFile(folder.string()).has_value());  // a folder is no image file
  fs::remove_all(folder);
}

// A picture that does not fit in memory is reported as such, naming its size, and not as a file that
// cannot be read.
TEST(ImageFormats, APictureWithoutMemoryForItsPixelsSaysHowLargeItIs) {
  const std::string path =
      (fs::temp_directory_path() / ("mv-large-" + std::to_string(getpid()) + ".png")).string();
  WritePngFile(path, Bitmap(1024, 1024), {});
  {
    const PixelBuffer::FailLargeAllocations failing(1, 10);
    try {
      ReadImageFile(path);
      ADD_FAILURE() << "the picture was read";
    } catch (const std::bad_alloc& error) {
      EXPECT_STREQ(error.what(), "Out of memory for a 1024 x 1024 picture of 24 bits (3 MiB)");
    }
  }
  EXPECT_EQ(ReadImageFile(path)->bitmap.Width(), 1024);
  fs::remove(path);
}

}  // namespace
}  // namespace mv
