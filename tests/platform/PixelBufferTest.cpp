#include "platform/PixelBuffer.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Bitmap.h"

namespace mv {
namespace {

constexpr std::size_t kLarge = std::size_t{5} << 20;  // past the huge-page threshold

// Leaves released memory full of 0xEE bytes in the reserve, in buffers of the given sizes.
void ReleaseDirty(const std::vector<std::size_t>& sizes) {
  std::vector<PixelBuffer> buffers;
  for (std::size_t size : sizes) {
    buffers.emplace_back(size);
    std::memset(buffers.back().Data(), 0xEE, size);
  }
}

// Fills every byte of the bitmap, row padding included, with 0xEE and lets it go.
void ReleaseDirtyBitmap(int width, int height, PixelFormat format) {
  Bitmap dirty(width, height, format);
  std::memset(dirty.Row(0), 0xEE, dirty.Stride() * static_cast<std::size_t>(height));
}

bool AllZero(const uint8_t* bytes, std::size_t count) {
  return std::all_of(bytes, bytes + count, [](uint8_t b) { return b == 0; });
}

TEST(PixelBuffer, BuffersOnReusedMemoryStartZero) {
  for (std::size_t size : {kLarge, kLarge - 4096, kLarge + 1}) {
    ReleaseDirty({size, size});
    PixelBuffer reused(size);
    EXPECT_TRUE(AllZero(reused.Data(), size)) << size;
    PixelBuffer copy(reused);  // copies take unspecified memory and fill it
    EXPECT_TRUE(AllZero(copy.Data(), size)) << size;
  }
}

TEST(PixelBuffer, TheReserveStaysWithinItsBounds) {
  ReleaseDirty({kLarge, kLarge, kLarge, kLarge});
  EXPECT_LE(PixelBuffer::KeptBytes(), PixelBuffer::kMaxKeptMappings * (kLarge + (std::size_t{2} << 20)));
  { const PixelBuffer tooLarge(PixelBuffer::kMaxKeptBytes + 1); }  // never touched, so cheap
  EXPECT_LE(PixelBuffer::KeptBytes(), PixelBuffer::kMaxKeptBytes);
  // A small buffer does not take a large mapping, and the large one is still there afterwards.
  ReleaseDirty({kLarge * 4});
  const std::size_t kept = PixelBuffer::KeptBytes();
  const PixelBuffer small(kLarge);
  EXPECT_TRUE(AllZero(small.Data(), kLarge));
  EXPECT_GE(PixelBuffer::KeptBytes(), std::min(kept, kLarge * 4));
}

TEST(PixelBuffer, PreparedBuffersAreZeroPresentAndLeaveTheKeptMemory) {
  ReleaseDirty({kLarge});
  const std::size_t kept = PixelBuffer::KeptBytes();
  const PixelBuffer prepared(kLarge, PixelBuffer::Fill::ZeroPrepared);
  EXPECT_EQ(PixelBuffer::KeptBytes(), kept);
  const auto pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  std::vector<unsigned char> present((kLarge + pageSize - 1) / pageSize);
  ASSERT_EQ(mincore(const_cast<uint8_t*>(prepared.Data()), kLarge, present.data()), 0);
  EXPECT_TRUE(std::all_of(present.begin(), present.end(), [](unsigned char p) { return (p & 1) != 0; }));
  EXPECT_TRUE(AllZero(prepared.Data(), kLarge));
  const PixelBuffer small(100, PixelBuffer::Fill::ZeroPrepared);
  EXPECT_TRUE(AllZero(small.Data(), 100));
}

// Bitmaps made on memory another bitmap used: nothing of the old pixels shows, neither in the
// pixels a conversion or a copy writes, nor in the row padding, nor outside a copied region.
TEST(PixelBuffer, BitmapsOnReusedMemoryShowNoOldPixels) {
  const int width = 1001, height = 1747;  // 24-bit rows of 3003 bytes in a 3004-byte stride
  ReleaseDirtyBitmap(width, height, PixelFormat::Bgr24);
  const Bitmap unspecified(width, height, PixelFormat::Bgr24, PixelBuffer::Fill::Unspecified);
  for (int y = 0; y < height; ++y) ASSERT_EQ(unspecified.Row(y)[3003], 0) << y;

  Bitmap indexed(width, height, PixelFormat::Indexed8);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) indexed.SetIndexAt(x, y, (x + y) % 2);
  }
  indexed.SetPalette({PaletteEntry{1, 2, 3, 0}, PaletteEntry{4, 5, 6, 0}});
  ReleaseDirtyBitmap(width, height, PixelFormat::Bgr24);
  const Bitmap converted = indexed.ToBgr24();
  for (int y = 0; y < height; ++y) {
    ASSERT_EQ(converted.Row(y)[3003], 0) << y;
    for (int x = 0; x < width; ++x) ASSERT_EQ(converted.ColorAt(x, y), indexed.ColorAt(x, y));
  }

  ReleaseDirtyBitmap(width, height, PixelFormat::Bgr24);
  const Bitmap shifted = converted.CopyRegion(-1, 0, width, height);  // column 0 lies outside
  for (int y = 0; y < height; ++y) {
    ASSERT_EQ(shifted.ColorAt(0, y), colors::kBlack) << y;
    ASSERT_EQ(shifted.Row(y)[3003], 0) << y;
    ASSERT_EQ(shifted.ColorAt(width - 1, y), converted.ColorAt(width - 2, y)) << y;
  }
}

TEST(PixelBuffer, OneBitRowsOnReusedMemoryHaveClearTails) {
  const int width = 8 * 4 * 1000 + 10, height = 300;  // the last byte of a row is partly used
  ReleaseDirtyBitmap(width, height, PixelFormat::Indexed1);
  Bitmap bits(width, height, PixelFormat::Indexed1, PixelBuffer::Fill::Unspecified);
  const std::size_t partial = static_cast<std::size_t>(width / 8);
  for (int y = 0; y < height; ++y) {
    ASSERT_TRUE(AllZero(bits.Row(y) + partial, bits.Stride() - partial)) << y;
  }
}

}  // namespace
}  // namespace mv
