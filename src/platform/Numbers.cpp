#include "platform/Numbers.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>

namespace mv {

namespace {

// 2^63 is exactly representable; every finite value strictly below it (and >= -2^63) fits int64.
constexpr Extended kTwoPow63 = 9223372036854775808.0L;

bool FitsInt64(Extended value) {
  return std::isfinite(value) && value >= -kTwoPow63 && value < kTwoPow63;
}

}  // namespace

int64_t RoundHalfEven(Extended value) {
  // nearbyintl rounds in the current mode, which is round-to-nearest-even unless someone changed it.
  const Extended rounded = std::nearbyintl(value);
  if (!FitsInt64(rounded)) throw RangeError();
  return static_cast<int64_t>(rounded);
}

int32_t RoundToInt32(Extended value) {
  return CheckedInt32(RoundHalfEven(value));
}

int64_t TruncTowardZero(Extended value) {
  const Extended truncated = std::truncl(value);
  if (!FitsInt64(truncated)) throw RangeError();
  return static_cast<int64_t>(truncated);
}

int32_t CheckedInt32(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    throw RangeError();
  }
  return static_cast<int32_t>(value);
}

std::string FormatG(Extended value, int precision) {
  // to_chars formats as printf's %g does in the C locale, whatever locale the toolkit set.
  char buffer[128];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  return std::string(buffer, result.ptr);
}

}  // namespace mv
