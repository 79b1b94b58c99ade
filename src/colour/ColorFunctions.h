#pragma once
// The fourteen pixel operations. Each overrides Convert only; the comment says what it reads.

#include "colour/ColorFunction.h"

namespace mv {

// Grey by the weights 0.298912 R + 0.586611 G + 0.114470 B, truncated (white gives 254).
class TGrayScale final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// value: contrast factor; c' = (c - 128) * value + c.
class TContrastChange final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// value: added to every channel.
class TBrightnessChange final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// value: gamma; c' = (c / 255)^(1 / value) * 255; value <= 0 leaves the pixel unchanged.
class TGammaCorrection final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// value: threshold (0 all white, 255 all black); mode 0 compares the channel sum with 3 * value,
// mode 1 the largest channel, any other mode the smallest channel.
class TBlackAndWhite final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// c' = 255 - c.
class TColorInverse final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// params[0..2]: offsets added to R, G and B.
class TRGBEachOffset final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// params[0]: the number of levels n (2..255); 0 throws DivisionByZeroError.
class TPosterization final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// value: the wave's multiplier k (rounded); mode: the wave shape, 0 mountain (also any mode
// outside 1..5), 1 valley, 2 rising sawtooth, 3 falling sawtooth, 4 sine, 5 cosine.
class TSolarization final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// Rotates the channels: R' = G, G' = B, B' = R.
class TRGBExchange final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// params[0]: the byte (0..255) every channel is XORed with.
class TXORTrans final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// params: lo, hi, channel selector (1 R, 2 G, 3 B, other all), operation (0 expands lo..hi
// to 0..255, 1 squeezes 0..255 into lo..hi, any other leaves the pixel unchanged).
class TExpandShrinkRGB final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// params: lo, hi; mode 1/2/3 tests R/G/B, any other the channel sum against 3 lo..3 hi.
// Pixels outside become black when value is 0 (within 1e-12), white otherwise.
class TRGBRangeLimit final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

// params: centre column, centre row, wavelength w, amplitude a; value scales the distance d from
// the centre; mode 1 adds cos(w * d) * a / 3 to every channel, any other mode cos(d / w) * a / 3.
class TSinTrans final : public TColorFunction {
 public:
  Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                int32_t mode) const override;
};

}  // namespace mv
