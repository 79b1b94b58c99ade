// Broken and hostile JPEG files, made by editing the segments of small files this test encodes.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <tuple>

#include <jpeglib.h>

#include "TestImages.h"
#include "codecs/CodecError.h"
#include "codecs/JpegImage.h"

namespace mv {
namespace {

// Encodes with libjpeg directly, for the kinds of files the writer does not make (progressive,
// greyscale, CMYK, restart markers). Inputs here are always valid.
std::vector<uint8_t> Compress(int width, int height, J_COLOR_SPACE space, int components,
                              const std::function<void(jpeg_compress_struct&)>& tune,
                              const std::function<void(int, uint8_t*)>& fillRow) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  tune(info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<std::size_t>(width) * components);
  for (int y = 0; y < height; ++y) {
    fillRow(y, row.data());
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

void Noise(int y, uint8_t* row, int bytes) {
  uint32_t seed = static_cast<uint32_t>(y) * 7919u + 1;
  for (int i = 0; i < bytes; ++i) row[i] = uint8_t((seed = seed * 1103515245 + 12345) >> 24);
}

std::vector<uint8_t> Progressive(int width, int height) {
  return Compress(
      width, height, JCS_RGB, 3, [](jpeg_compress_struct& c) { jpeg_simple_progression(&c); },
      [width](int y, uint8_t* row) { Noise(y, row, width * 3); });
}

std::vector<uint8_t> Baseline(int width, int height) {
  return EncodeJpeg(test::AsymmetricImage(width, height, PixelFormat::Bgr24), 90);
}

// The offset of the first marker FF <code>, walking the segments from the start of the file.
std::size_t FindMarker(const std::vector<uint8_t>& file, uint8_t code) {
  std::size_t at = 2;
  while (at + 4 <= file.size() && file[at] == 0xFF) {
    if (file[at + 1] == code) return at;
    if (file[at + 1] == 0xDA) break;
    at += 2 + ((file[at + 2] << 8) | file[at + 3]);
  }
  throw std::runtime_error("marker not found");
}

Bitmap Load(const std::vector<uint8_t>& file) {
  JpegImage jpeg;
  jpeg.LoadFromMemory(file);
  return jpeg.ToBitmap();
}

// Sets the width and height in the frame header (SOF0 or SOF2).
void SetSize(std::vector<uint8_t>& file, uint8_t frameMarker, int width, int height) {
  const std::size_t sof = FindMarker(file, frameMarker);
  file[sof + 5] = uint8_t(height >> 8), file[sof + 6] = uint8_t(height);
  file[sof + 7] = uint8_t(width >> 8), file[sof + 8] = uint8_t(width);
}

TEST(MalformedJpeg, HugeDeclaredSizeWithATinyBodyFailsAtOnce) {
  const std::vector<uint8_t> baseline = Baseline(32, 32), progressive = Progressive(32, 32);
  const std::tuple<std::vector<uint8_t>, uint8_t, int, int> cases[] = {
      {baseline, 0xC0, 65500, 65500},     // beyond the limits
      {baseline, 0xC0, 16000, 16000},     // allowed, but no row of blocks is complete
      {progressive, 0xC2, 16000, 16000},  // far too short for even its first scan
      {baseline, 0xC0, 0, 32},
  };
  for (const auto& [good, marker, width, height] : cases) {
    std::vector<uint8_t> file = good;
    SetSize(file, marker, width, height);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(Load(file), CodecError) << width << " x " << height;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << width << " x " << height;
  }
}

TEST(MalformedJpeg, UndefinedQuantizationTableFails) {
  std::vector<uint8_t> file = Baseline(16, 16);
  const std::size_t sof = FindMarker(file, 0xC0);
  file[sof + 10 + 2] = 3;  // the first component uses table 3, which the file never defines
  EXPECT_THROW(Load(file), CodecError);
}

TEST(MalformedJpeg, BadHuffmanTableFails) {
  std::vector<uint8_t> file = Baseline(16, 16);
  const std::size_t dht = FindMarker(file, 0xC4);
  for (int i = 0; i < 16; ++i) file[dht + 5 + i] = 0xFF;  // 16 x 255 codes cannot exist
  EXPECT_THROW(Load(file), CodecError);
}

TEST(MalformedJpeg, ThousandsOfScansAreRefused) {
  const std::vector<uint8_t> good = Progressive(64, 64);
  EXPECT_GT(test::Psnr(Load(good), Load(good)), 90);
  // Repeat the last scan (from its SOS marker to the end-of-image marker) two thousand times.
  std::size_t lastScan = good.size() - 2;
  while (!(good[lastScan] == 0xFF && good[lastScan + 1] == 0xDA)) --lastScan;
  std::vector<uint8_t> hostile(good.begin(), good.end() - 2);
  for (int i = 0; i < 2000; ++i) hostile.insert(hostile.end(), good.begin() + lastScan, good.end() - 2);
  hostile.insert(hostile.end(), {0xFF, 0xD9});
  EXPECT_THROW(Load(hostile), CodecError);
}

TEST(MalformedJpeg, CutOffFileKeepsTheRowsDecodedBeforeTheEnd) {
  const std::vector<uint8_t> file = Compress(
      256, 256, JCS_RGB, 3, [](jpeg_compress_struct&) {},
      [](int y, uint8_t* row) { Noise(y, row, 256 * 3); });
  const Bitmap whole = Load(file);
  const Bitmap partial = Load({file.begin(), file.begin() + static_cast<long>(file.size()) * 6 / 10});
  EXPECT_EQ(test::MaxChannelDifference(whole.CopyRegion(0, 0, 256, 64), partial.CopyRegion(0, 0, 256, 64)),
            0);
  EXPECT_GT(
      test::MaxChannelDifference(whole.CopyRegion(0, 240, 256, 16), partial.CopyRegion(0, 240, 256, 16)), 0);
  const std::size_t scan = FindMarker(file, 0xDA);
  EXPECT_THROW(Load({file.begin(), file.begin() + static_cast<long>(scan) + 40}), CodecError);
  EXPECT_THROW(Load({file.begin(), file.begin() + static_cast<long>(scan)}), CodecError);
}

TEST(MalformedJpeg, NotAJpegFileFails) {
  EXPECT_THROW(Load({}), CodecError);
  EXPECT_THROW(Load({0xFF, 0xD8}), CodecError);
  EXPECT_THROW(Load({0xFF, 0xD8, 0xFF, 0xD9}), CodecError);
  EXPECT_THROW(Load({'B', 'M', 0, 0}), CodecError);
}

TEST(MalformedJpeg, GreyscaleGivesAGreyPaletteImage) {
  const Bitmap image = Load(Compress(
      16, 8, JCS_GRAYSCALE, 1, [](jpeg_compress_struct& c) { jpeg_set_quality(&c, 100, TRUE); },
      [](int y, uint8_t* row) { std::fill(row, row + 16, uint8_t(y < 4 ? 20 : 230)); }));
  EXPECT_EQ(image.Format(), PixelFormat::Indexed8);
  EXPECT_EQ(image.Palette()[77], (PaletteEntry{77, 77, 77, 0}));
  EXPECT_NEAR(image.IndexAt(3, 0), 20, 2);
  EXPECT_NEAR(image.IndexAt(3, 7), 230, 2);
}

TEST(MalformedJpeg, AdobeCmykBecomesRgb) {
  // Adobe files store ink inverted: (255, 0, 0, 255) is no cyan, full magenta and yellow, no black.
  const Bitmap image = Load(Compress(
      16, 16, JCS_CMYK, 4, [](jpeg_compress_struct& c) { jpeg_set_quality(&c, 100, TRUE); },
      [](int, uint8_t* row) {
        for (int x = 0; x < 16; ++x)
          row[4 * x] = 255, row[4 * x + 1] = 0, row[4 * x + 2] = 0, row[4 * x + 3] = 255;
      }));
  EXPECT_EQ(image.Format(), PixelFormat::Bgr24);
  const ColorRef c = image.ColorAt(8, 8);
  EXPECT_GE(RedOf(c), 250);
  EXPECT_LE(GreenOf(c), 5);
  EXPECT_LE(BlueOf(c), 5);
}

TEST(MalformedJpeg, RestartMarkersDoNotChangeThePixels) {
  auto fill = [](int y, uint8_t* row) { Noise(y, row, 64 * 3); };
  const Bitmap plain = Load(Compress(
      64, 64, JCS_RGB, 3, [](jpeg_compress_struct&) {}, fill));
  const Bitmap restarts = Load(Compress(
      64, 64, JCS_RGB, 3, [](jpeg_compress_struct& c) { c.restart_interval = 1; }, fill));
  EXPECT_EQ(test::MaxChannelDifference(plain, restarts), 0);
}

}  // namespace
}  // namespace mv
