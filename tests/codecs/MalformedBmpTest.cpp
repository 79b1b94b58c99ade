// Broken and hostile bitmap files, built field by field from a good one. Each either fails with
// CodecError or, where the damage can be read around safely, loads what is there.

#include <gtest/gtest.h>

#include <climits>

#include "TestImages.h"
#include "codecs/BmpImage.h"
#include "codecs/CodecError.h"

namespace mv {
namespace {

// Offsets of the BITMAPFILEHEADER and BITMAPINFOHEADER fields.
constexpr std::size_t kPixelOffset = 10, kHeaderSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26,
                      kBitCount = 28, kCompression = 30, kColorsUsed = 46, kMasks = 54;

void Put16(std::vector<uint8_t>& file, std::size_t at, uint32_t v) {
  file[at] = uint8_t(v);
  file[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& file, std::size_t at, uint32_t v) {
  Put16(file, at, v & 0xFFFF);
  Put16(file, at + 2, v >> 16);
}

Bitmap Load(const std::vector<uint8_t>& file) {
  BmpImage bmp;
  bmp.LoadFromMemory(file);
  return bmp.ToBitmap();
}

std::vector<uint8_t> Good8Bit() {
  return EncodeBmp(test::AsymmetricImage(6, 4, PixelFormat::Indexed8));
}
std::vector<uint8_t> Good24Bit() {
  return EncodeBmp(test::AsymmetricImage(6, 4, PixelFormat::Bgr24));
}

// An 8- or 4-bit RLE file of the given size whose palette maps index i to grey i, with `data` as
// its pixel stream.
std::vector<uint8_t> RleFile(int width, int height, int bits, const std::vector<uint8_t>& data) {
  Bitmap image(width, height, bits == 8 ? PixelFormat::Indexed8 : PixelFormat::Indexed4);
  std::vector<PaletteEntry> palette;
  for (int i = 0; i < (1 << bits); ++i)
    palette.push_back(PaletteEntry{uint8_t(i), uint8_t(i), uint8_t(i), 0});
  image.SetPalette(palette);
  std::vector<uint8_t> file = EncodeBmp(image);
  const std::size_t start = file[kPixelOffset] | (file[kPixelOffset + 1] << 8);
  file.resize(start);
  file.insert(file.end(), data.begin(), data.end());
  Put32(file, kCompression, bits == 8 ? 1 : 2);
  return file;
}

TEST(MalformedBmp, ShortFilesAndBadHeadersFail) {
  std::vector<uint8_t> file = Good24Bit();
  EXPECT_THROW(Load({file.begin(), file.begin() + 20}), CodecError);  // shorter than its headers
  EXPECT_THROW(Load({file.begin(), file.begin() + 2}), CodecError);
  for (const uint32_t size : {0u, 11u, 13u, 41u, 125u, 0xFFFFFFFFu}) {
    std::vector<uint8_t> bad = Good24Bit();
    Put32(bad, kHeaderSize, size);
    EXPECT_THROW(Load(bad), CodecError) << size;
  }
  file[0] = 'B', file[1] = 'A';  // an OS/2 bitmap array, not a bitmap
  EXPECT_THROW(Load(file), CodecError);
}

TEST(MalformedBmp, ImpossibleSizesFailBeforeAllocating) {
  const std::pair<uint32_t, uint32_t> sizes[] = {
      {6, static_cast<uint32_t>(INT_MIN)},  // height INT_MIN cannot be negated
      {0x10000, 0x10000},                   // width x height overflows 32 bits
      {0, 4},                               // no width
      {6, 0},                               // no height
      {static_cast<uint32_t>(-6), 4},       // negative width
      {60000, 60000},                       // 3.6 gigapixels, far beyond the limit
      {40000, 8},                           // plausible, but the file is too short for the pixels
  };
  for (const auto& [width, height] : sizes) {
    std::vector<uint8_t> file = Good24Bit();
    Put32(file, kWidth, width);
    Put32(file, kHeight, height);
    EXPECT_THROW(Load(file), CodecError) << width << " x " << height;
  }
}

TEST(MalformedBmp, UnsupportedBitCountsAndPlanesFail) {
  for (const uint32_t bits : {0u, 2u, 7u, 48u}) {
    std::vector<uint8_t> file = Good8Bit();
    Put16(file, kBitCount, bits);
    EXPECT_THROW(Load(file), CodecError) << bits;
  }
  std::vector<uint8_t> file = Good8Bit();
  Put16(file, kPlanes, 2);
  EXPECT_THROW(Load(file), CodecError);
}

TEST(MalformedBmp, CompressionThatDoesNotFitTheDepthFails) {
  std::vector<uint8_t> file = Good24Bit();
  Put32(file, kCompression, 1);  // RLE8 on a 24-bit file
  EXPECT_THROW(Load(file), CodecError);
  Put32(file, kCompression, 4);  // JPEG inside a bitmap
  EXPECT_THROW(Load(file), CodecError);
}

TEST(MalformedBmp, PixelOffsetOutsideTheFileOrInsideTheHeaderFails) {
  std::vector<uint8_t> file = Good24Bit();
  Put32(file, kPixelOffset, static_cast<uint32_t>(file.size()) + 100);
  EXPECT_THROW(Load(file), CodecError);
  Put32(file, kPixelOffset, 0xFFFFFFF0u);
  EXPECT_THROW(Load(file), CodecError);
  Put32(file, kPixelOffset, 20);
  EXPECT_THROW(Load(file), CodecError);
}

TEST(MalformedBmp, TruncatedPixelDataFails) {
  const std::vector<uint8_t> file = Good24Bit();
  EXPECT_THROW(Load({file.begin(), file.end() - 30}), CodecError);
}

TEST(MalformedBmp, EnormousColourCountIsLimitedToTheDepth) {
  const Bitmap original = test::AsymmetricImage(6, 4, PixelFormat::Indexed8);
  std::vector<uint8_t> file = EncodeBmp(original);
  Put32(file, kColorsUsed, 0x7FFFFFFF);
  EXPECT_TRUE(Load(file) == original);
}

TEST(MalformedBmp, IndexBeyondAShortPaletteReadsBlack) {
  // A 4-entry palette, and a pixel that uses index 200.
  Bitmap image(3, 1, PixelFormat::Indexed8);
  image.SetPalette({PaletteEntry{10, 20, 30, 0}, {}, {}, {}});
  image.SetIndexAt(1, 0, 200);
  const Bitmap back = Load(EncodeBmp(image));
  ASSERT_EQ(back.Palette().size(), 256u);
  EXPECT_EQ(back.ColorAt(0, 0), MakeColor(30, 20, 10));
  EXPECT_EQ(back.ColorAt(1, 0), colors::kBlack);
}

// A 32-bit file with BITMAPINFOHEADER and BI_BITFIELDS: three masks follow the header.
std::vector<uint8_t> BitFieldFile(uint32_t red, uint32_t green, uint32_t blue, uint32_t pixel) {
  std::vector<uint8_t> file = EncodeBmp(Bitmap(1, 1, PixelFormat::Bgrx32));
  file.insert(file.begin() + kMasks, 12, 0);
  Put32(file, kPixelOffset, 54 + 12);
  Put32(file, kCompression, 3);
  Put32(file, kMasks, red);
  Put32(file, kMasks + 4, green);
  Put32(file, kMasks + 8, blue);
  Put32(file, 66, pixel);
  return file;
}

TEST(MalformedBmp, BitFieldsWithZeroOrBrokenMasksFail) {
  EXPECT_THROW(Load(BitFieldFile(0, 0xFF00, 0xFF, 0)), CodecError);
  EXPECT_THROW(Load(BitFieldFile(0, 0, 0, 0)), CodecError);
  EXPECT_THROW(Load(BitFieldFile(0xF0F00000, 0xFF00, 0xFF, 0)), CodecError);  // a mask with a gap
}

TEST(MalformedBmp, UnusualBitFieldsAreScaledToEightBits) {
  // 10-10-10 with red at the bottom: red 1023, green 0, blue 512.
  const Bitmap image = Load(BitFieldFile(0x3FF, 0xFFC00, 0x3FF00000, 0x3FF | (512u << 20)));
  EXPECT_EQ(image.ColorAt(0, 0), MakeColor(255, 0, 128));
}

TEST(MalformedBmp, RleDecodesRunsAbsoluteRunsAndDeltas) {
  // 4 x 2, bottom-up: bottom row "run of 3 x index 7, delta (1, 0)"; top row "absolute 1 2 3".
  const Bitmap image = Load(RleFile(4, 2, 8, {3, 7, 0, 2, 1, 0, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1}));
  EXPECT_EQ(image.IndexAt(0, 1), 7);
  EXPECT_EQ(image.IndexAt(2, 1), 7);
  EXPECT_EQ(image.IndexAt(3, 1), 0);
  EXPECT_EQ(image.IndexAt(0, 0), 1);
  EXPECT_EQ(image.IndexAt(2, 0), 3);
  const Bitmap four = Load(RleFile(5, 1, 4, {5, 0x12, 0, 1}));
  EXPECT_EQ(four.IndexAt(0, 0), 1);
  EXPECT_EQ(four.IndexAt(1, 0), 2);
  EXPECT_EQ(four.IndexAt(4, 0), 1);
}

TEST(MalformedBmp, RleRunsPastTheRowEndAreClippedButCutRunsFail) {
  const Bitmap image = Load(RleFile(4, 2, 8, {200, 9, 0, 0, 2, 5, 0, 1}));
  EXPECT_EQ(image.IndexAt(3, 1), 9);
  EXPECT_EQ(image.IndexAt(0, 0), 5);  // the next row starts where the end-of-line put it
  EXPECT_EQ(image.IndexAt(2, 0), 0);
  EXPECT_THROW(Load(RleFile(4, 2, 4, {0, 200, 0x12})), CodecError);  // an absolute run cut off
}

TEST(MalformedBmp, RleDeltasLeavingTheBitmapFail) {
  EXPECT_THROW(Load(RleFile(4, 2, 8, {0, 2, 9, 0})), CodecError);    // right of the last column
  EXPECT_THROW(Load(RleFile(4, 2, 8, {0, 2, 0, 200})), CodecError);  // above the top row
  EXPECT_THROW(Load(RleFile(4, 2, 4, {0, 2, 255, 255})), CodecError);
}

TEST(MalformedBmp, RleInATopDownFileFails) {
  std::vector<uint8_t> file = RleFile(4, 2, 8, {4, 1, 0, 1});
  Put32(file, kHeight, static_cast<uint32_t>(-2));
  EXPECT_THROW(Load(file), CodecError);
}

TEST(MalformedBmp, TopDownAndCoreHeaderFilesReadCorrectly) {
  const Bitmap original = test::AsymmetricImage(5, 3, PixelFormat::Bgr24);
  std::vector<uint8_t> file = EncodeBmp(original);
  // Reverse the row order and mark the height negative.
  const std::size_t start = 54, stride = 16;
  std::vector<uint8_t> topDown(file.begin(), file.begin() + start);
  for (int row = 2; row >= 0; --row)
    topDown.insert(topDown.end(), file.begin() + start + row * stride,
                   file.begin() + start + (row + 1) * stride);
  Put32(topDown, kHeight, static_cast<uint32_t>(-3));
  EXPECT_TRUE(Load(topDown) == original);

  // OS/2 1.x: a 12-byte header with 16-bit sides and three-byte palette entries.
  std::vector<uint8_t> core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0,   0,   12, 0,
                               0,   0,   2, 0, 1, 0, 1, 0, 1, 0, 0,  0, 255, 255, 0,  0};
  core.insert(core.end(), {0x40, 0, 0, 0});  // pixels 0, 1
  const Bitmap os2 = Load(core);
  EXPECT_EQ(os2.Format(), PixelFormat::Indexed1);
  EXPECT_EQ(os2.ColorAt(0, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(os2.ColorAt(1, 0), MakeColor(0, 0, 255));
}

// A file with the given header size whose fields after the first 40 bytes come from `extra`.
std::vector<uint8_t> LongHeaderFile(uint32_t headerSize, uint32_t bits, uint32_t compression,
                                    const std::vector<uint32_t>& extra, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> file(14 + headerSize, 0);
  file[0] = 'B', file[1] = 'M';
  Put32(file, kPixelOffset, 14 + headerSize);
  Put32(file, kHeaderSize, headerSize);
  Put32(file, kWidth, 2);
  Put32(file, kHeight, 1);
  Put16(file, kPlanes, 1);
  Put16(file, kBitCount, bits);
  Put32(file, kCompression, compression);
  for (std::size_t i = 0; i < extra.size(); ++i) Put32(file, kMasks + 4 * i, extra[i]);
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

TEST(MalformedBmp, V4AndOs2HeadersAreRead) {
  // V4, 16 bits, 5-6-5 masks in the header: red, then green.
  const Bitmap v4 = Load(LongHeaderFile(108, 16, 3, {0xF800, 0x07E0, 0x001F, 0}, {0x00, 0xF8, 0xE0, 0x07}));
  EXPECT_EQ(v4.Format(), PixelFormat::Bgr24);
  EXPECT_EQ(v4.ColorAt(0, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(v4.ColorAt(1, 0), MakeColor(0, 255, 0));
  // V5 with BI_RGB ignores the masks it carries.
  const Bitmap v5 = Load(LongHeaderFile(124, 24, 0, {1, 2, 3, 4}, {1, 2, 3, 4, 5, 6, 0, 0}));
  EXPECT_EQ(v5.ColorAt(1, 0), MakeColor(6, 5, 4));
  // OS/2 2.x: a 64-byte header; its compression 3 is Huffman coding, which is not supported.
  EXPECT_EQ(Load(LongHeaderFile(64, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0})).ColorAt(0, 0), MakeColor(3, 2, 1));
  EXPECT_THROW(Load(LongHeaderFile(64, 1, 3, {}, {0, 0, 0, 0})), CodecError);
}

}  // namespace
}  // namespace mv
