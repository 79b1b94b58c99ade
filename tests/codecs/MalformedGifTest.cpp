// Broken and hostile GIF files, assembled from their blocks with LZW codes written out one by one,
// so each test shows the damage it carries.

#include <gtest/gtest.h>

#include "codecs/CodecError.h"
#include "codecs/GifImage.h"

namespace mv {
namespace {

void Put16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

// Header and logical screen; colorBits 0 leaves out the global colour table, whose entry i is
// (i, 2i, 255 - i).
std::vector<uint8_t> Screen(unsigned width, unsigned height, int colorBits, uint8_t background = 0) {
  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(out, width);
  Put16(out, height);
  out.push_back(colorBits ? uint8_t(0xF0 | (colorBits - 1)) : 0);
  out.push_back(background);
  out.push_back(0);
  for (int i = 0; i < (colorBits ? 1 << colorBits : 0); ++i)
    out.insert(out.end(), {uint8_t(i), uint8_t(2 * i), uint8_t(255 - i)});
  return out;
}

// LZW codes packed least significant bit first, each as wide as a decoder expects it.
std::vector<uint8_t> PackCodes(unsigned codeSize, const std::vector<unsigned>& codes) {
  const unsigned clear = 1u << codeSize;
  unsigned width = codeSize + 1, next = clear + 2;
  bool first = true;
  std::vector<uint8_t> out;
  uint32_t bits = 0;
  unsigned count = 0;
  for (const unsigned code : codes) {
    bits |= code << count;
    count += width;
    while (count >= 8) out.push_back(uint8_t(bits)), bits >>= 8, count -= 8;
    if (code == clear) {
      width = codeSize + 1, next = clear + 2, first = true;
    } else if (first) {
      first = false;
    } else if (next < 4096 && ++next == (1u << width) && width < 12) {
      ++width;
    }
  }
  if (count > 0) out.push_back(uint8_t(bits));
  return out;
}

struct Frame {
  unsigned left = 0, top = 0, width = 2, height = 2;
  bool interlaced = false;
  int localColorBits = 0;
  unsigned codeSize = 2;
  std::vector<unsigned> codes = {4, 1, 2, 3, 0, 5};  // clear, four literals, end
};

void AppendFrame(std::vector<uint8_t>& out, const Frame& f) {
  out.push_back(0x2C);
  Put16(out, f.left);
  Put16(out, f.top);
  Put16(out, f.width);
  Put16(out, f.height);
  out.push_back(uint8_t((f.interlaced ? 0x40 : 0) | (f.localColorBits ? 0x80 | (f.localColorBits - 1) : 0)));
  for (int i = 0; i < (f.localColorBits ? 1 << f.localColorBits : 0); ++i)
    out.insert(out.end(), {9, 9, uint8_t(i)});
  out.push_back(uint8_t(f.codeSize));
  const std::vector<uint8_t> data = PackCodes(std::min(f.codeSize, 11u), f.codes);
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - at);
    out.push_back(uint8_t(n));
    out.insert(out.end(), data.begin() + at, data.begin() + at + n);
  }
  out.push_back(0);
}

std::vector<uint8_t> File(std::vector<uint8_t> screen, const Frame& frame) {
  AppendFrame(screen, frame);
  screen.push_back(0x3B);
  return screen;
}

Bitmap Load(const std::vector<uint8_t>& file) {
  GifImage gif;
  gif.LoadFromMemory(file);
  return gif.ToBitmap();
}

TEST(MalformedGif, AWellFormedFileDecodesAsBuilt) {
  const Bitmap image = Load(File(Screen(2, 2, 2), Frame{}));
  EXPECT_EQ(image.IndexAt(0, 0), 1);
  EXPECT_EQ(image.IndexAt(1, 0), 2);
  EXPECT_EQ(image.IndexAt(0, 1), 3);
  EXPECT_EQ(image.IndexAt(1, 1), 0);
  EXPECT_EQ(image.ColorAt(0, 1), MakeColor(3, 6, 252));
  // A code equal to the next free code repeats the previous string and its first pixel.
  Frame repeat;
  repeat.width = 3, repeat.height = 1, repeat.codes = {4, 1, 6, 5};
  const Bitmap kwk = Load(File(Screen(3, 1, 2), repeat));
  EXPECT_EQ(kwk.IndexAt(2, 0), 1);
}

TEST(MalformedGif, TruncatedFilesFail) {
  const std::vector<uint8_t> screen = Screen(2, 2, 2);
  EXPECT_THROW(Load(screen), CodecError);  // after the header
  EXPECT_THROW(Load({screen.begin(), screen.begin() + 8}), CodecError);
  Frame big;
  big.width = big.height = 40;
  big.codes.assign(1600, 1);
  big.codes.insert(big.codes.begin(), 4);
  const std::vector<uint8_t> file = File(Screen(40, 40, 2), big);
  EXPECT_THROW(Load({file.begin(), file.begin() + static_cast<long>(file.size()) / 2}),
               CodecError);  // inside LZW data
  EXPECT_NO_THROW(Load(file));
}

TEST(MalformedGif, EmptyOrMissingImagesFail) {
  Frame empty;
  empty.width = 0;
  EXPECT_THROW(Load(File(Screen(2, 2, 2), empty)), CodecError);
  empty.width = 2, empty.height = 0;
  EXPECT_THROW(Load(File(Screen(2, 2, 2), empty)), CodecError);
  std::vector<uint8_t> noImage = Screen(2, 2, 2);
  noImage.push_back(0x3B);
  EXPECT_THROW(Load(noImage), CodecError);
}

TEST(MalformedGif, ImageOutsideTheScreenEnlargesIt) {
  Frame far;
  far.left = 10, far.top = 10;
  const Bitmap image = Load(File(Screen(4, 4, 2, 3), far));
  EXPECT_EQ(image.Width(), 12);
  EXPECT_EQ(image.Height(), 12);
  EXPECT_EQ(image.IndexAt(10, 10), 1);
  EXPECT_EQ(image.IndexAt(11, 11), 0);
  EXPECT_EQ(image.IndexAt(0, 0), 3);  // the background colour
}

TEST(MalformedGif, ImpossibleMinimumCodeSizesFail) {
  for (const unsigned size : {0u, 9u, 12u, 200u}) {
    Frame frame;
    frame.codeSize = size;
    frame.codes = {1u << std::min(size, 11u), 1, 1, 1, 1};
    EXPECT_THROW(Load(File(Screen(2, 2, 2), frame)), CodecError) << size;
  }
}

TEST(MalformedGif, CodesNotYetDefinedFail) {
  Frame frame;
  frame.codes = {4, 1, 7, 5};  // 7 while the next free code is 6
  EXPECT_THROW(Load(File(Screen(2, 2, 2), frame)), CodecError);
  frame.codes = {4, 6, 5};  // a string code right after a clear
  EXPECT_THROW(Load(File(Screen(2, 2, 2), frame)), CodecError);
}

TEST(MalformedGif, DataEndingBeforeThePixelsFail) {
  Frame frame;
  frame.codes = {4, 1, 2, 5};  // two of the four pixels, then the end code
  EXPECT_THROW(Load(File(Screen(2, 2, 2), frame)), CodecError);
}

TEST(MalformedGif, NoColourTableFails) {
  EXPECT_THROW(Load(File(Screen(2, 2, 0), Frame{})), CodecError);
  Frame local;
  local.localColorBits = 2;  // a local table alone is enough, and wins over the global one
  const Bitmap image = Load(File(Screen(2, 2, 0), local));
  EXPECT_EQ(image.ColorAt(1, 0), MakeColor(9, 9, 2));
}

TEST(MalformedGif, HugeScreenFailsBeforeAllocating) {
  EXPECT_THROW(Load(File(Screen(65535, 65535, 2), Frame{})), CodecError);
}

TEST(MalformedGif, InterlacedRowsLandInPlace) {
  // One column of eight rows; the file stores rows 0, 4, 2, 6, 1, 3, 5, 7 and each pixel is its row.
  Frame frame;
  frame.width = 1, frame.height = 8, frame.interlaced = true, frame.codeSize = 3;
  frame.codes = {8, 0, 8, 4, 8, 2, 8, 6, 8, 1, 8, 3, 8, 5, 8, 7, 9};
  const Bitmap image = Load(File(Screen(1, 8, 3), frame));
  for (int y = 0; y < 8; ++y) EXPECT_EQ(image.IndexAt(0, y), y);
}

TEST(MalformedGif, TransparentIndexComesFromTheControlExtension) {
  std::vector<uint8_t> file = Screen(2, 2, 2);
  file.insert(file.end(), {0x21, 0xF9, 4, 0x01, 0, 0, 3, 0});  // transparent index 3
  AppendFrame(file, Frame{});
  file.push_back(0x3B);
  GifImage gif;
  gif.LoadFromMemory(file);
  EXPECT_EQ(gif.TransparentIndex(), 3);
}

}  // namespace
}  // namespace mv
