#pragma once
// The size of the JPEG file the program's encoder writes for an image at a quality, found by
// really encoding a sample of the image. Small images are encoded whole, and the size is exact.
// Larger ones are sampled as a mosaic of 256 x 16 tiles from an even grid over the image, each on
// the image's grid of 16 x 16 encoder units, so every sampled block is a block of the image.
// Tiles are wide and one unit high because the encoder codes each block's mean as the difference
// from the block before it in the row: a tile's edge costs only where a row of the mosaic passes
// from one tile to the next. The encoded size of the mosaic less the file's fixed part (markers
// and tables) is scaled by the image's area over the mosaic's, and the fixed part is added back.

#include <array>
#include <cstdint>

#include "optionlib/option_abi.h"
#include "platform/Bitmap.h"

namespace mv {

class JpegSizeEstimate {
 public:
  // Copies what it needs of `image` (which must be readable); keeps no reference to it.
  explicit JpegSizeEstimate(const MvImageView& image);

  // The file's size in bytes at quality 1 ... 100 (remembered per quality).
  uint64_t BytesAt(int quality);
  // Whether the whole image was encoded, so the sizes are the files' own.
  bool IsExact() const { return exact_; }

  // Images of at most this many pixels are encoded whole.
  static constexpr int64_t kWholeImagePixels = 1024 * 1024;
  static constexpr int kTileWidth = 256;
  static constexpr int kTileHeight = 16;
  static constexpr int kTiles = 192;  // about 800 000 pixels of sample

 private:
  uint64_t Encode(int quality) const;

  Bitmap sample_;
  double areaRatio_ = 1;  // the image's pixels over the sample's
  bool exact_ = false;
  std::array<uint64_t, 101> known_{};  // 0: not encoded yet
};

}  // namespace mv
