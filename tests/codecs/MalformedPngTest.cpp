// Broken and hostile PNG files, assembled chunk by chunk with correct CRCs unless a test breaks one.

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include "codecs/CodecError.h"
#include "codecs/PngImage.h"

namespace mv {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void AppendChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

std::vector<uint8_t> Ihdr(uint32_t width, uint32_t height, int depth, int type, int interlace = 0) {
  std::vector<uint8_t> data;
  Put32(data, width);
  Put32(data, height);
  data.insert(data.end(), {uint8_t(depth), uint8_t(type), 0, 0, uint8_t(interlace)});
  return data;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> out(size);
  compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
  out.resize(size);
  return out;
}

// Unfiltered rows of 8-bit grey: row y holds the value y everywhere.
std::vector<uint8_t> GreyRows(uint32_t width, uint32_t height) {
  std::vector<uint8_t> raw;
  for (uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), width, uint8_t(y));
  }
  return raw;
}

struct PngParts {
  std::vector<uint8_t> ihdr = Ihdr(4, 3, 8, 0);
  std::vector<std::pair<const char*, std::vector<uint8_t>>> beforeData;
  std::vector<uint8_t> idat = Deflate(GreyRows(4, 3));
  bool withData = true;
};

std::vector<uint8_t> Build(const PngParts& parts) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  AppendChunk(out, "IHDR", parts.ihdr);
  for (const auto& [type, data] : parts.beforeData) AppendChunk(out, type, data);
  if (parts.withData) AppendChunk(out, "IDAT", parts.idat);
  AppendChunk(out, "IEND", {});
  return out;
}

Bitmap Load(const std::vector<uint8_t>& file) {
  PngImage png;
  png.LoadFromMemory(file);
  return png.ToBitmap();
}

TEST(MalformedPng, AWellFormedFileDecodesAsBuilt) {
  const Bitmap image = Load(Build({}));
  EXPECT_EQ(image.Format(), PixelFormat::Indexed8);
  EXPECT_EQ(image.IndexAt(3, 2), 2);
}

TEST(MalformedPng, BadSignatureOrHeaderCrcFails) {
  std::vector<uint8_t> file = Build({});
  file[1] = 'Q';
  EXPECT_THROW(Load(file), CodecError);
  file = Build({});
  file[8 + 4 + 4 + 13] ^= 1;  // the CRC of IHDR
  EXPECT_THROW(Load(file), CodecError);
}

TEST(MalformedPng, MissingImageDataFails) {
  PngParts parts;
  parts.withData = false;
  EXPECT_THROW(Load(Build(parts)), CodecError);
}

TEST(MalformedPng, TruncatedZlibStreamInACompleteFileFails) {
  PngParts parts;
  parts.ihdr = Ihdr(64, 64, 8, 0);
  parts.idat = Deflate(GreyRows(64, 64));
  parts.idat.resize(parts.idat.size() / 2);
  EXPECT_THROW(Load(Build(parts)), CodecError);
}

// Rows of noise, so the compressed stream is long (about 257 bytes a row) and a cut falls inside the
// pixel rows.
std::vector<uint8_t> NoisyFile(bool interlaced) {
  PngParts parts;
  parts.ihdr = Ihdr(256, 64, 8, 0, interlaced ? 1 : 0);
  std::vector<uint8_t> raw;
  uint32_t seed = 1;
  for (int y = 0; y < 64 + (interlaced ? 40 : 0); ++y) {
    raw.push_back(0);
    for (int x = 0; x < 256; ++x) raw.push_back(uint8_t((seed = seed * 1103515245 + 12345) >> 24));
  }
  parts.idat = Deflate(raw);
  return Build(parts);
}

// Every row whose data the file holds is kept, also when the cut falls within the first 8 KiB that
// libpng takes in one piece.
TEST(MalformedPng, FileCutOffAfterSomeRowsKeepsThem) {
  const std::vector<uint8_t> file = NoisyFile(false);
  const Bitmap whole = Load(file);
  for (const std::size_t cut : {std::size_t{1500}, std::size_t{4000}, file.size() / 2}) {
    SCOPED_TRACE(cut);
    const Bitmap partial = Load({file.begin(), file.begin() + static_cast<long>(cut)});
    int keptRows = 0;
    while (keptRows < 64 &&
           std::equal(partial.Row(keptRows), partial.Row(keptRows) + 256, whole.Row(keptRows)))
      ++keptRows;
    const int rowsInFile = static_cast<int>((cut - 60) / 257);  // less the headers before the data
    EXPECT_GE(keptRows, rowsInFile - 1);
    EXPECT_LE(keptRows, rowsInFile + 1);
    EXPECT_EQ(partial.Row(63)[0], 0);
  }
}

TEST(MalformedPng, FileCutOffBeforeAnyRowOrInterlacedFails) {
  const std::vector<uint8_t> file = NoisyFile(false);
  EXPECT_THROW(Load({file.begin(), file.begin() + 60}), CodecError);
  const std::vector<uint8_t> interlaced = NoisyFile(true);
  EXPECT_THROW(Load({interlaced.begin(), interlaced.begin() + static_cast<long>(interlaced.size()) / 2}),
               CodecError);
}

// An Adam7-interlaced RGB file of the picture, written by libpng.
std::vector<uint8_t> InterlacedFile(const Bitmap& picture) {
  std::vector<uint8_t> file;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &file,
      [](png_structp p, png_bytep data, size_t count) {
        auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        out->insert(out->end(), data, data + count);
      },
      nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width()),
               static_cast<png_uint_32>(picture.Height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_bgr(png);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (int y = 0; y < picture.Height(); ++y) rows.push_back(const_cast<png_bytep>(picture.Row(y)));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return file;
}

// The reader stops once it has counted every row of the data; every size of the seven passes must
// still be read whole.
TEST(MalformedPng, InterlacedFilesOfEverySmallSizeAreReadWhole) {
  for (int width = 1; width <= 9; ++width) {
    for (int height = 1; height <= 9; ++height) {
      SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
      Bitmap picture(width, height);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          picture.SetColorAt(x, y, MakeColor(uint8_t(x + 1), uint8_t(y + 1), 9));
      EXPECT_TRUE(Load(InterlacedFile(picture)) == picture);
    }
  }
}

TEST(MalformedPng, ImpossibleSizesFail) {
  for (const auto& [width, height] : std::vector<std::pair<uint32_t, uint32_t>>{
           {0x7FFFFFFF, 1}, {0, 3}, {4, 0}, {70000, 1}, {65535, 65535}, {0x80000000u, 1}}) {
    PngParts parts;
    parts.ihdr = Ihdr(width, height, 8, 0);
    EXPECT_THROW(Load(Build(parts)), CodecError) << width << " x " << height;
  }
}

TEST(MalformedPng, IllegalColourTypeAndDepthPairsFail) {
  for (const auto& [depth, type] :
       std::vector<std::pair<int, int>>{{4, 2}, {16, 3}, {3, 0}, {8, 5}, {4, 6}, {1, 4}, {0, 0}}) {
    PngParts parts;
    parts.ihdr = Ihdr(4, 3, depth, type);
    EXPECT_THROW(Load(Build(parts)), CodecError) << depth << "/" << type;
  }
}

TEST(MalformedPng, PaletteImageWithoutPaletteFails) {
  PngParts parts;
  parts.ihdr = Ihdr(4, 3, 8, 3);
  EXPECT_THROW(Load(Build(parts)), CodecError);
}

std::vector<uint8_t> PaletteOf(int entries) {
  std::vector<uint8_t> data(static_cast<std::size_t>(entries) * 3);
  for (int i = 0; i < entries; ++i) {
    data[3 * i] = uint8_t(i);
    data[3 * i + 1] = 10;
    data[3 * i + 2] = 20;
  }
  return data;
}

TEST(MalformedPng, PaletteLongerThanTheDepthAllowsIsCut) {
  PngParts parts;
  parts.ihdr = Ihdr(4, 3, 1, 3);
  parts.beforeData = {{"PLTE", PaletteOf(3)}};
  parts.idat = Deflate({0, 0x40, 0, 0, 0, 0});
  const Bitmap image = Load(Build(parts));
  EXPECT_EQ(image.Palette().size(), 2u);
  EXPECT_EQ(image.ColorAt(1, 0), MakeColor(1, 10, 20));
}

TEST(MalformedPng, TransparencyLongerThanThePaletteIsIgnored) {
  PngParts parts;
  parts.ihdr = Ihdr(4, 3, 8, 3);
  parts.beforeData = {{"PLTE", PaletteOf(3)}, {"tRNS", std::vector<uint8_t>(10, 0)}};
  parts.idat = Deflate({0, 0, 1, 2, 0, 0, 1, 1, 1, 1, 0, 2, 2, 2, 2});
  const Bitmap image = Load(Build(parts));
  EXPECT_EQ(image.ColorAt(1, 0), MakeColor(1, 10, 20));
  EXPECT_EQ(image.ColorAt(0, 2), MakeColor(2, 10, 20));
}

TEST(MalformedPng, SixteenBitSamplesAreRoundedToEightBits) {
  PngParts parts;
  parts.ihdr = Ihdr(1, 1, 16, 2);
  parts.idat = Deflate({0, 0x80, 0x80, 0x00, 0xFF, 0xFF, 0xFF});  // red 0x8080, green 0x00FF, blue 0xFFFF
  EXPECT_EQ(Load(Build(parts)).ColorAt(0, 0), MakeColor(128, 1, 255));
}

TEST(MalformedPng, HugeAncillaryChunkIsSkipped) {
  PngParts parts;
  parts.beforeData = {{"tEXt", std::vector<uint8_t>(1 << 20, 'a')}, {"zzZz", std::vector<uint8_t>(100, 0)}};
  EXPECT_EQ(Load(Build(parts)).IndexAt(0, 1), 1);
}

}  // namespace
}  // namespace mv
