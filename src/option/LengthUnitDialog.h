#pragma once
// The known length between the two calibration points and its unit.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace mv {

// Unit indexes 0 … 3.
inline constexpr std::array<const char*, 4> kLengthUnits = {"μm", "mm", "cm", "m"};

struct LengthEntry {
  double length = 0;  // > 0
  int32_t unitIndex = 0;
};

// nullopt when cancelled. A length of 0 shows an empty field; a unit index outside 0 … 3 shows "μm".
std::optional<LengthEntry> AskLengthAndUnit(double length, int32_t unitIndex);

// The text of the length field as a length: a finite number above 0 with '.' as the decimal point.
std::optional<double> ParseLength(const std::string& text);

}  // namespace mv
