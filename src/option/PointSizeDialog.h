#pragma once
// The point and size entry: mode 0 asks for a position on the image (0 … width, 0 … height), mode 1
// for a new image size (1 … 65535 each side, optionally keeping the width-to-height ratio).

#include <cstdint>
#include <optional>

namespace mv {

inline constexpr int32_t kPointEntry = 0;
inline constexpr int32_t kSizeEntry = 1;
inline constexpr int32_t kLargestSide = 65535;

struct PointOrSize {
  int32_t x = 0;
  int32_t y = 0;
};

// nullopt when cancelled. `imageSize` is the current image's width and height; the caller has
// checked the mode and that the size fits it.
std::optional<PointOrSize> AskPointOrSize(PointOrSize imageSize, int32_t mode);

// Whether the form can be shown for these arguments: mode 0 needs a size of at least 0 × 0, mode 1
// of at least 1 × 1; other modes are errors.
bool PointSizeArgumentsValid(PointOrSize imageSize, int32_t mode);

// The other side of a new size that keeps the old size's ratio: `newSide` × `oldOther` / `oldSide`,
// rounded, within 1 … kLargestSide.
int32_t KeptRatioSide(int32_t newSide, int32_t oldSide, int32_t oldOther);

}  // namespace mv
