// The readers against the public conformance images: PngSuite, the IJG and libjpeg-turbo test
// images with their reference pixels, giflib's pictures, BMP photographs and libpng's crash set.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "TestImages.h"
#include "codecs/BmpImage.h"
#include "codecs/CodecError.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "codecs/PngImage.h"

namespace mv {
namespace {

namespace fs = std::filesystem;

std::string DataDirOrSkip() {
  const auto dir = test::TestDataDir();
  return dir ? *dir : std::string();
}

#define REQUIRE_TESTDATA(dir)              \
  const std::string dir = DataDirOrSkip(); \
  if (dir.empty()) GTEST_SKIP() << "conformance images absent"

std::vector<fs::path> FilesIn(const std::string& folder, const std::string& extension) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == extension) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

Bitmap LoadPng(const fs::path& path) {
  PngImage png;
  png.LoadFromFile(path.string());
  return png.ToBitmap();
}

// PngSuite names encode the colour type and depth: basn<type>[cgpa]<depth>.
PixelFormat ExpectedPngFormat(int type, int depth) {
  if (type == 2) return PixelFormat::Bgr24;
  if (type == 4 || type == 6) return PixelFormat::Bgrx32;
  if (depth == 1) return PixelFormat::Indexed1;
  if (depth == 2 || depth == 4) return PixelFormat::Indexed4;
  return PixelFormat::Indexed8;
}

TEST(PngConformance, EveryBasicImageLoadsInItsNaturalDepth) {
  REQUIRE_TESTDATA(dir);
  int checked = 0;
  for (const fs::path& path : FilesIn(dir + "/png/pngsuite", ".png")) {
    const std::string name = path.filename().string();
    SCOPED_TRACE(name);
    const Bitmap image = LoadPng(path);
    EXPECT_EQ(image.Width(), 32);
    EXPECT_EQ(image.Height(), 32);
    if (name.rfind("basn", 0) == 0) {
      const int type = name[4] - '0';
      const int depth = std::stoi(name.substr(6, 2));
      EXPECT_EQ(image.Format(), ExpectedPngFormat(type, depth));
      ++checked;
    }
  }
  EXPECT_GE(checked, 15);
}

TEST(PngConformance, InterlacedImagesEqualTheirPlainTwins) {
  REQUIRE_TESTDATA(dir);
  int pairs = 0;
  for (const fs::path& path : FilesIn(dir + "/png/pngsuite", ".png")) {
    const std::string name = path.filename().string();
    if (name[0] != 'i') continue;
    const fs::path plain = path.parent_path() / name.substr(1);
    if (!fs::exists(plain)) continue;
    SCOPED_TRACE(name);
    EXPECT_EQ(test::MaxChannelDifference(LoadPng(path), LoadPng(plain)), 0);
    ++pairs;
  }
  EXPECT_GE(pairs, 20);
}

TEST(PngConformance, CrashSetFailsCleanlyOrLoads) {
  REQUIRE_TESTDATA(dir);
  for (const fs::path& path : FilesIn(dir + "/png/crashers", ".png")) {
    SCOPED_TRACE(path.filename().string());
    PngImage png;
    try {
      png.LoadFromFile(path.string());
      EXPECT_FALSE(png.ToBitmap().IsEmpty());
    } catch (const CodecError&) {
    }
  }
}

// The reference was decoded by a libjpeg whose chroma upsampling differs from libjpeg-turbo's by a
// few levels at most.
TEST(JpegConformance, BaselineMatchesTheReferencePixels) {
  REQUIRE_TESTDATA(dir);
  const Bitmap reference = test::ReadPpm(dir + "/jpeg/testorig.ppm");
  JpegImage jpeg;
  jpeg.LoadFromFile(dir + "/jpeg/testorig.jpg");
  const Bitmap decoded = jpeg.ToBitmap();
  ASSERT_EQ(decoded.Format(), PixelFormat::Bgr24);
  EXPECT_LE(test::MaxChannelDifference(decoded, reference), 3);
  EXPECT_GT(test::Psnr(decoded, reference), 45.0);
}

TEST(JpegConformance, ProgressiveAndArithmeticFilesDecodeTheSamePicture) {
  REQUIRE_TESTDATA(dir);
  const Bitmap reference = test::ReadPpm(dir + "/jpeg/testorig.ppm");
  for (const char* name : {"testimgint.jpg", "testimgari.jpg"}) {
    SCOPED_TRACE(name);
    JpegImage jpeg;
    jpeg.LoadFromFile(dir + "/jpeg/" + name);
    EXPECT_GT(test::Psnr(jpeg.ToBitmap(), reference), 30.0);
  }
}

TEST(JpegConformance, TwelveBitPrecisionIsRefused) {
  REQUIRE_TESTDATA(dir);
  JpegImage jpeg;
  EXPECT_THROW(jpeg.LoadFromFile(dir + "/jpeg/monkey12.jpg"), CodecError);
}

TEST(GifConformance, EveryPictureLoadsWithItsPalette) {
  REQUIRE_TESTDATA(dir);
  for (const fs::path& path : FilesIn(dir + "/gif", ".gif")) {
    SCOPED_TRACE(path.filename().string());
    GifImage gif;
    gif.LoadFromFile(path.string());
    const Bitmap image = gif.ToBitmap();
    EXPECT_EQ(image.Format(), PixelFormat::Indexed8);
    EXPECT_FALSE(image.Palette().empty());
  }
}

TEST(GifConformance, InterlacedTwinDecodesToTheSamePixels) {
  REQUIRE_TESTDATA(dir);
  GifImage plain, interlaced;
  plain.LoadFromFile(dir + "/gif/treescap.gif");
  interlaced.LoadFromFile(dir + "/gif/treescap-interlaced.gif");
  EXPECT_EQ(test::MaxChannelDifference(plain.ToBitmap(), interlaced.ToBitmap()), 0);
}

TEST(GifConformance, TransparentIndexIsReported) {
  REQUIRE_TESTDATA(dir);
  GifImage gif;
  gif.LoadFromFile(dir + "/gif/sample_1_trans.gif");
  EXPECT_TRUE(gif.TransparentIndex().has_value());
  gif.LoadFromFile(dir + "/gif/sample_1.gif");
  EXPECT_FALSE(gif.TransparentIndex().has_value());
}

TEST(BmpConformance, PhotographsLoad) {
  REQUIRE_TESTDATA(dir);
  for (const fs::path& path : FilesIn(dir + "/bmp", ".bmp")) {
    SCOPED_TRACE(path.filename().string());
    BmpImage bmp;
    bmp.LoadFromFile(path.string());
    EXPECT_FALSE(bmp.ToBitmap().IsEmpty());
  }
}

// The load routine tries every reader on every file, so each must refuse the others' files.
TEST(Conformance, EachReaderRefusesTheOtherFormats) {
  REQUIRE_TESTDATA(dir);
  const std::map<std::string, std::string> samples = {{"jpeg", dir + "/jpeg/testorig.jpg"},
                                                      {"bmp", dir + "/bmp/vgl_6434_0018a.bmp"},
                                                      {"gif", dir + "/gif/porsche.gif"},
                                                      {"png", dir + "/png/pngsuite/basn2c08.png"}};
  for (const auto& [format, path] : samples) {
    SCOPED_TRACE(format);
    if (format != "jpeg") {
      EXPECT_THROW(JpegImage().LoadFromFile(path), CodecError);
    }
    if (format != "bmp") {
      EXPECT_THROW(BmpImage().LoadFromFile(path), CodecError);
    }
    if (format != "gif") {
      EXPECT_THROW(GifImage().LoadFromFile(path), CodecError);
    }
    if (format != "png") {
      EXPECT_THROW(PngImage().LoadFromFile(path), CodecError);
    }
  }
  EXPECT_THROW(PngImage().LoadFromFile(dir + "/no-such-file.png"), CodecError);
}

}  // namespace
}  // namespace mv
