// Writing and reading back: each format and depth keeps the pixels of an asymmetric picture where
// they were, with their palette, and the writers' options reach the file.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <filesystem>

#include "TestImages.h"
#include "codecs/BmpImage.h"
#include "codecs/CodecError.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "codecs/PngImage.h"
#include "platform/Numbers.h"

namespace mv {
namespace {

namespace fs = std::filesystem;

const PixelFormat kAllFormats[] = {PixelFormat::Indexed1, PixelFormat::Indexed4, PixelFormat::Indexed8,
                                   PixelFormat::Rgb555,   PixelFormat::Bgr24,    PixelFormat::Bgrx32};

Bitmap ReadBmp(std::span<const uint8_t> bytes) {
  BmpImage bmp;
  bmp.LoadFromMemory(bytes);
  return bmp.ToBitmap();
}
Bitmap ReadPng(std::span<const uint8_t> bytes) {
  PngImage png;
  png.LoadFromMemory(bytes);
  return png.ToBitmap();
}

TEST(BmpRoundTrip, EveryFormatComesBackIdentical) {
  for (const PixelFormat format : kAllFormats) {
    SCOPED_TRACE(BitsPerPixel(format));
    const Bitmap original = test::AsymmetricImage(13, 7, format);
    const Bitmap back = ReadBmp(EncodeBmp(original));
    EXPECT_EQ(back.Format(), format);
    EXPECT_TRUE(back == original);
  }
}

TEST(BmpRoundTrip, FileRowsAreBottomUp) {
  Bitmap image(2, 3, PixelFormat::Bgr24);
  image.SetColorAt(0, 2, MakeColor(1, 2, 3));  // bottom-left
  const std::vector<uint8_t> file = EncodeBmp(image);
  const std::size_t pixels = file[10] | (file[11] << 8);
  EXPECT_EQ(file[pixels], 3);  // blue of the first stored pixel
  EXPECT_EQ(file[pixels + 2], 1);
}

TEST(PngRoundTrip, IndexedImagesKeepDepthPaletteAndIndexes) {
  for (const PixelFormat format : {PixelFormat::Indexed1, PixelFormat::Indexed4, PixelFormat::Indexed8}) {
    SCOPED_TRACE(BitsPerPixel(format));
    const Bitmap original = test::AsymmetricImage(11, 5, format);
    EXPECT_TRUE(ReadPng(EncodePng(original, {})) == original);
  }
}

TEST(PngRoundTrip, DirectImagesBecomeTwentyFourBitWithTheSameColours) {
  for (const PixelFormat format : {PixelFormat::Rgb555, PixelFormat::Bgr24, PixelFormat::Bgrx32}) {
    SCOPED_TRACE(BitsPerPixel(format));
    const Bitmap original = test::AsymmetricImage(9, 6, format);
    const Bitmap back = ReadPng(EncodePng(original, {}));
    EXPECT_EQ(back.Format(), PixelFormat::Bgr24);
    EXPECT_EQ(test::MaxChannelDifference(back, original), 0);
  }
}

TEST(PngRoundTrip, EveryLevelAndFilterDecodesToTheSamePixels) {
  const Bitmap original = test::AsymmetricImage(40, 9, PixelFormat::Bgr24);
  for (int level = -1; level <= 9; ++level)
    for (int filter = 0; filter <= 5; ++filter) {
      PngWriteOptions options;
      options.compressionLevel = level;
      options.filterSetting = filter;
      EXPECT_TRUE(ReadPng(EncodePng(original, options)) == original) << level << " " << filter;
    }
}

// Large enough to be filtered and compressed in several parts on several threads.
TEST(PngRoundTrip, LargeImagesCompressedInPartsDecodeExactly) {
  Bitmap image(1100, 700, PixelFormat::Bgr24);
  uint32_t seed = 5;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      seed = seed * 1103515245 + 12345;
      image.SetColorAt(x, y, MakeColor(uint8_t(x / 5 + (seed >> 29)), uint8_t(y / 3), uint8_t((x + y) / 7)));
    }
  for (const int filter : {0, 1, 5}) {
    PngWriteOptions options;
    options.filterSetting = filter;
    options.compressionLevel = 1;
    EXPECT_TRUE(ReadPng(EncodePng(image, options)) == image) << filter;
  }
}

// The chunks of a PNG file by type, for looking at what the writer put there.
std::map<std::string, std::vector<uint8_t>> Chunks(const std::vector<uint8_t>& file) {
  std::map<std::string, std::vector<uint8_t>> chunks;
  for (std::size_t at = 8; at + 12 <= file.size();) {
    const uint32_t length = (file[at] << 24) | (file[at + 1] << 16) | (file[at + 2] << 8) | file[at + 3];
    const std::string type(file.begin() + at + 4, file.begin() + at + 8);
    chunks[type].assign(file.begin() + at + 8, file.begin() + at + 8 + length);
    at += 12 + length;
  }
  return chunks;
}

TEST(PngRoundTrip, OptionsReachTheFile) {
  const Bitmap image = test::AsymmetricImage(4, 4, PixelFormat::Bgr24);
  PngWriteOptions options;
  options.writeTime = false;
  auto chunks = Chunks(EncodePng(image, options));
  EXPECT_FALSE(chunks.count("gAMA"));
  EXPECT_FALSE(chunks.count("tIME"));
  EXPECT_FALSE(chunks.count("tRNS"));

  options.writeTime = true;
  options.gamma = 2.0;  // the display gamma; the file stores its inverse, 0.5 -> 50000
  options.transparent = image.ColorAt(1, 2);
  chunks = Chunks(EncodePng(image, options));
  ASSERT_EQ(chunks["gAMA"].size(), 4u);
  EXPECT_EQ((chunks["gAMA"][2] << 8) | chunks["gAMA"][3], 50000);
  EXPECT_EQ(chunks["tIME"].size(), 7u);
  const std::vector<uint8_t> rgb = {0, RedOf(*options.transparent), 0, GreenOf(*options.transparent),
                                    0, BlueOf(*options.transparent)};
  EXPECT_EQ(chunks["tRNS"], rgb);
}

TEST(PngRoundTrip, TransparentColourOfAPaletteImageMarksItsEntries) {
  Bitmap image = test::AsymmetricImage(6, 6, PixelFormat::Indexed4);
  std::vector<PaletteEntry> palette = image.Palette();
  palette[5] = palette[2];  // the colour twice: both entries become transparent
  image.SetPalette(palette);
  PngWriteOptions options;
  options.transparent = MakeColor(palette[2].red, palette[2].green, palette[2].blue);
  const std::vector<uint8_t> alpha = Chunks(EncodePng(image, options))["tRNS"];
  EXPECT_EQ(alpha, (std::vector<uint8_t>{255, 255, 0, 255, 255, 0}));
}

TEST(PngRoundTrip, OptionsOutsideTheirRangeAreRangeErrors) {
  const Bitmap image = test::AsymmetricImage(2, 2, PixelFormat::Bgr24);
  PngWriteOptions options;
  for (const int level : {-2, 10}) {
    options.compressionLevel = level;
    EXPECT_THROW(EncodePng(image, options), RangeError);
  }
  options = {};
  options.gamma = -1.0;
  EXPECT_THROW(EncodePng(image, options), RangeError);
  options = {};
  options.filterSetting = 6;
  EXPECT_THROW(EncodePng(image, options), RangeError);
}

TEST(GifRoundTrip, FewColoursSurviveExactly) {
  for (const PixelFormat format : {PixelFormat::Indexed4, PixelFormat::Indexed8, PixelFormat::Bgr24}) {
    SCOPED_TRACE(BitsPerPixel(format));
    const Bitmap original = test::AsymmetricImage(15, 10, format);  // at most 150 colours
    GifImage gif;
    gif.LoadFromMemory(EncodeGif(original, std::nullopt));
    EXPECT_EQ(test::MaxChannelDifference(gif.ToBitmap(), original), 0);
    EXPECT_FALSE(gif.TransparentIndex().has_value());
  }
}

TEST(GifRoundTrip, TransparentColourSurvivesQuantizationAsTheTransparentIndex) {
  Bitmap image(64, 64, PixelFormat::Bgr24);  // 4096 colours
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      image.SetColorAt(x, y, MakeColor(uint8_t(x * 4), uint8_t(y * 4), uint8_t(x + y)));
  const ColorRef clear = image.ColorAt(10, 20);
  image.SetColorAt(50, 3, clear);
  GifImage gif;
  gif.LoadFromMemory(EncodeGif(image, clear));
  const Bitmap back = gif.ToBitmap();
  ASSERT_TRUE(gif.TransparentIndex().has_value());
  const int transparent = *gif.TransparentIndex();
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool isClear = image.ColorAt(x, y) == clear;
      EXPECT_EQ(back.IndexAt(x, y) == transparent, isClear) << x << "," << y;
    }
  EXPECT_EQ(back.ColorAt(50, 3), clear);
}

TEST(JpegRoundTrip, PixelsStayWhereTheyWere) {
  Bitmap image(64, 48, PixelFormat::Bgr24);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) image.SetColorAt(x, y, MakeColor(uint8_t(x * 3), uint8_t(y * 4), 128));
  for (int y = 0; y < 16; ++y)
    for (int x = 48; x < 64; ++x) image.SetColorAt(x, y, MakeColor(255, 255, 255));  // top-right block
  JpegImage jpeg;
  jpeg.LoadFromMemory(EncodeJpeg(image, 95));
  const Bitmap back = jpeg.ToBitmap();
  EXPECT_LE(test::MaxChannelDifference(back, image), 48);  // ringing at the block's edge
  EXPECT_GT(test::Psnr(back, image), 35.0);
  EXPECT_GE(GreenOf(back.ColorAt(60, 4)), 240);
  EXPECT_LE(GreenOf(back.ColorAt(4, 4)), 40);
}

TEST(JpegRoundTrip, QualityOutsideOneToHundredIsARangeError) {
  const Bitmap image = test::AsymmetricImage(8, 8, PixelFormat::Indexed8);
  EXPECT_THROW(EncodeJpeg(image, 0), RangeError);
  EXPECT_THROW(EncodeJpeg(image, 101), RangeError);
  EXPECT_NO_THROW(EncodeJpeg(image, 1));
  EXPECT_GT(EncodeJpeg(image, 100).size(), EncodeJpeg(image, 1).size());
}

class FileWriting : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("mv-codecs-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  fs::path folder_;
};

TEST_F(FileWriting, EveryWriterProducesAReadableFileAndNoLeftovers) {
  const Bitmap image = test::AsymmetricImage(10, 10, PixelFormat::Bgr24);
  WriteBmpFile(PathOf("a.bmp"), image);
  WriteJpegFile(PathOf("a.jpg"), image, 90);
  WriteGifFile(PathOf("a.gif"), image, std::nullopt);
  WritePngFile(PathOf("a.png"), image, {});
  BmpImage().LoadFromFile(PathOf("a.bmp"));
  JpegImage().LoadFromFile(PathOf("a.jpg"));
  GifImage().LoadFromFile(PathOf("a.gif"));
  PngImage().LoadFromFile(PathOf("a.png"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 4);
}

TEST_F(FileWriting, AFailedWriteLeavesTheOldFileAsItWas) {
  const Bitmap image = test::AsymmetricImage(10, 10, PixelFormat::Bgr24);
  WritePngFile(PathOf("keep.png"), image, {});
  ::chmod(PathOf("keep.png").c_str(), 0640);
  const std::vector<uint8_t> before = test::ReadFile(PathOf("keep.png"));
  PngWriteOptions badLevel;
  badLevel.compressionLevel = 12;
  EXPECT_THROW(WritePngFile(PathOf("keep.png"), image, badLevel), RangeError);
  EXPECT_THROW(WriteJpegFile(PathOf("keep.png"), Bitmap(), 90), CodecError);
  EXPECT_EQ(test::ReadFile(PathOf("keep.png")), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

  WriteBmpFile(PathOf("keep.png"), image);  // a successful overwrite keeps the permissions
  struct stat info {};
  ::stat(PathOf("keep.png").c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_THROW(WriteBmpFile(PathOf("missing-folder/x.bmp"), image), CodecError);
}

}  // namespace
}  // namespace mv
