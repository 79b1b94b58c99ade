#pragma once
// TColorFunction: maps one pixel to a new pixel. A colour command creates one instance and calls
// Convert once for every pixel of its region copy; all tuning arrives through the arguments, so an
// instance has no state. Arithmetic runs in 80-bit extended precision (Extended).

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

#include "platform/Pixel.h"

namespace mv {

// Integer division by zero (a level count of 0, an empty stretch range).
class DivisionByZeroError : public std::runtime_error {
 public:
  DivisionByZeroError() : std::runtime_error("Division by zero") {}
};

class TColorFunction {
 public:
  virtual ~TColorFunction() = default;
  // x, y: the pixel's column and row in the bitmap; params: integer parameters (commands pass 1 to 4);
  // value and mode: a real parameter and a variant selector, each read only by the classes that say so.
  virtual Pixel Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                        int32_t mode) const = 0;
};

// params[index]; RangeError when the caller supplied fewer.
int32_t ParamAt(std::span<const int32_t> params, std::size_t index);

// A channel value that must lie in 0..255 (RangeError otherwise).
uint8_t CheckedChannel(int64_t value);

}  // namespace mv
