#pragma once
// Number helpers shared by every module: the 80-bit Extended type, rounding with halves to even,
// truncation, clamping to a byte, checked conversion to 32 bits and C's %g formatting.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace mv {

// x87 80-bit extended precision on x86-64; results that are truncated afterwards depend on it.
using Extended = long double;

// Raised where a value does not fit the integer it is stored in; the command runner reports it
// like the application's default error box.
class RangeError : public std::runtime_error {
 public:
  RangeError() : std::runtime_error("Range check error") {}
};

// Raised by a floating-point division by zero that the behaviour treats as an error.
class ZeroDivideError : public std::runtime_error {
 public:
  ZeroDivideError() : std::runtime_error("Floating point division by zero") {}
};

// Raised by an invalid floating-point operation (for example 0/0).
class InvalidFloatOperation : public std::runtime_error {
 public:
  InvalidFloatOperation() : std::runtime_error("Invalid floating point operation") {}
};

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Throws RangeError when the value
// is not finite or does not fit 64 bits.
int64_t RoundHalfEven(Extended value);

// RoundHalfEven, then CheckedInt32.
int32_t RoundToInt32(Extended value);

// Truncation toward zero. Throws RangeError when the value is not finite or does not fit 64 bits.
int64_t TruncTowardZero(Extended value);

// Below 0 (or not a number) gives 0, above 255 gives 255, otherwise truncated toward zero.
inline uint8_t ClampToByte(Extended value) {
  if (!(value >= 0)) return 0;
  if (value > 255) return 255;
  return static_cast<uint8_t>(value);
}

// The value as a 32-bit signed integer; RangeError when it does not fit.
int32_t CheckedInt32(int64_t value);

// C's "%.<precision>g" in the C locale (decimal point '.'), e.g. FormatG(0.75, 3) == "0.75".
std::string FormatG(Extended value, int precision);

// Decimal text of an integer.
inline std::string IntToStr(int64_t value) {
  return std::to_string(value);
}

}  // namespace mv
