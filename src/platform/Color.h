#pragma once
// Colour values as the user interface stores them: 0x00BBGGRR (red in the low byte).

#include <cstdint>

namespace mv {

using ColorRef = uint32_t;

constexpr ColorRef MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<ColorRef>(red) | (static_cast<ColorRef>(green) << 8) |
         (static_cast<ColorRef>(blue) << 16);
}
constexpr uint8_t RedOf(ColorRef c) {
  return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GreenOf(ColorRef c) {
  return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(ColorRef c) {
  return static_cast<uint8_t>((c >> 16) & 0xFF);
}

namespace colors {
constexpr ColorRef kBlack = MakeColor(0, 0, 0);
constexpr ColorRef kWhite = MakeColor(255, 255, 255);
constexpr ColorRef kBlue = MakeColor(0, 0, 255);
constexpr ColorRef kRed = MakeColor(255, 0, 0);
}  // namespace colors

}  // namespace mv
