#pragma once
// What the custom-filter dialog edits: a 3 x 3 kernel with divisor and offset, how its result is
// drawn over the image (a ternary raster-operation code) and how the area is prepared first; the
// named presets and raster operations it offers.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "platform/Canvas.h"

namespace mv {

// The preparations the program knows.
inline constexpr int32_t kPrepareNothing = 0;
inline constexpr int32_t kPrepareWhite = 1;
inline constexpr int32_t kPrepareBlack = 2;

struct CustomFilterSettings {
  std::array<int32_t, 9> weights{0, 0, 0, 0, 1, 0, 0, 0, 0};  // row by row
  double divisor = 1.0;
  int32_t offset = 0;
  uint32_t copyMode = rop::kSrcCopy;
  int32_t preparation = kPrepareNothing;
};

struct FilterPreset {
  const char* name;
  std::array<int32_t, 9> weights;
  double divisor;
  int32_t offset;
};

// Identity, box average, sharpen, Laplacian, emboss.
std::span<const FilterPreset> FilterPresets();

struct RasterOperation {
  uint32_t code;
  const char* name;     // the operation's usual name (SRCCOPY, …)
  const char* meaning;  // what it draws, in the dialog's words
};

// The named raster operations, source copy first.
std::span<const RasterOperation> RasterOperations();

}  // namespace mv
