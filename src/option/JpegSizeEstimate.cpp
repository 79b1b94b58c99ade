#include "option/JpegSizeEstimate.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "codecs/JpegImage.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

Bitmap WholeImage(const MvImageView& image) {
  Bitmap copy(image.width, image.height, PixelFormat::Bgr24, PixelBuffer::Fill::Unspecified);
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(copy.Row(y), image.bgr + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.stride),
                static_cast<std::size_t>(image.width) * 3);
  }
  return copy;
}

// The encoder's unit: 16 x 16 pixels (8 x 8 blocks, chroma halved each way).
constexpr int kUnit = 16;

// Where tile `index` of `count` tiles of `tile` pixels starts, spread evenly over `side` pixels
// and on the image's grid of units, so each sampled block holds the pixels of a block the encoder
// meets in the image itself.
int TileStart(int index, int count, int side, int tile) {
  const double centre = (index + 0.5) * side / count;
  const int start = std::clamp(static_cast<int>(std::floor(centre - tile / 2.0)), 0, side - tile);
  return start / kUnit * kUnit;
}

// A tile's side: the whole side of an image less than two tiles across, so that the image's
// partial unit at its edge, which the encoder fills up, is sampled as well.
int TileSide(int tile, int side) {
  return side < 2 * tile ? side : tile;
}

Bitmap Mosaic(const MvImageView& image) {
  const int tileWidth = TileSide(JpegSizeEstimate::kTileWidth, image.width);
  const int tileHeight = TileSide(JpegSizeEstimate::kTileHeight, image.height);
  // About kTiles tiles spread as evenly over the two directions as the tiles' places allow.
  const double across = static_cast<double>(image.width) / tileWidth;
  const double down = static_cast<double>(image.height) / tileHeight;
  const int columns =
      std::clamp(static_cast<int>(std::lround(std::sqrt(JpegSizeEstimate::kTiles * across / down))), 1,
                 image.width / tileWidth);
  const int rows = std::clamp(JpegSizeEstimate::kTiles / columns, 1, image.height / tileHeight);
  Bitmap mosaic(columns * tileWidth, rows * tileHeight, PixelFormat::Bgr24, PixelBuffer::Fill::Unspecified);
  for (int row = 0; row < rows; ++row) {
    const int top = TileStart(row, rows, image.height, tileHeight);
    for (int y = 0; y < tileHeight; ++y) {
      const uint8_t* source =
          image.bgr + static_cast<std::size_t>(top + y) * static_cast<std::size_t>(image.stride);
      uint8_t* target = mosaic.Row(row * tileHeight + y);
      for (int column = 0; column < columns; ++column) {
        const int left = TileStart(column, columns, image.width, tileWidth);
        std::memcpy(target + static_cast<std::size_t>(column) * tileWidth * 3,
                    source + static_cast<std::size_t>(left) * 3, static_cast<std::size_t>(tileWidth) * 3);
      }
    }
  }
  return mosaic;
}

// The part of every file that does not grow with the picture: the encoded size of one unit of
// flat grey, whose entropy-coded data is a few bytes.
uint64_t FixedBytes(int quality) {
  Bitmap grey(16, 16);
  for (int y = 0; y < 16; ++y) std::memset(grey.Row(y), 128, 48);
  return EncodeJpeg(grey, quality).size();
}

}  // namespace

JpegSizeEstimate::JpegSizeEstimate(const MvImageView& image) {
  const int64_t pixels = int64_t{image.width} * image.height;
  exact_ = pixels <= kWholeImagePixels;
  sample_ = exact_ ? WholeImage(image) : Mosaic(image);
  areaRatio_ = static_cast<double>(pixels) / (static_cast<double>(sample_.Width()) * sample_.Height());
}

uint64_t JpegSizeEstimate::BytesAt(int quality) {
  if (quality < 1 || quality > 100) throw RangeError();
  if (known_[quality] == 0) known_[quality] = Encode(quality);
  return known_[quality];
}

uint64_t JpegSizeEstimate::Encode(int quality) const {
  const auto sampleBytes = static_cast<double>(EncodeJpeg(sample_, quality).size());
  if (exact_) return static_cast<uint64_t>(sampleBytes);
  const auto fixed = static_cast<double>(FixedBytes(quality));
  return static_cast<uint64_t>(std::llround(fixed + std::max(0.0, sampleBytes - fixed) * areaRatio_));
}

}  // namespace mv
