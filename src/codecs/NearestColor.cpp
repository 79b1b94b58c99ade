#include "codecs/NearestColor.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace mv {

namespace {

constexpr int kCells = 32 * 32 * 32;
constexpr int kCellSide = 8;

// Smallest and largest distance along one axis from value v to the range [low, low + 7].
int AxisMin(int v, int low) {
  return v < low ? low - v : v > low + kCellSide - 1 ? v - (low + kCellSide - 1) : 0;
}
int AxisMax(int v, int low) {
  return std::max(std::abs(v - low), std::abs(v - (low + kCellSide - 1)));
}

}  // namespace

NearestColor::NearestColor(std::vector<Rgb> palette, std::optional<int> excluded)
    : palette_(std::move(palette)), excluded_(excluded), cellStart_(kCells, -1), cellCount_(kCells, 0) {
  const std::size_t usable = palette_.size() - (excluded_ ? 1 : 0);
  if (palette_.empty() || palette_.size() > 256 || usable == 0) throw std::invalid_argument("palette size");
}

void NearestColor::BuildCell(int cell) {
  const int low[3] = {(cell >> 10) * kCellSide, ((cell >> 5) & 31) * kCellSide, (cell & 31) * kCellSide};
  std::vector<int> nearest(palette_.size());
  int bound = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    if (excluded_ && static_cast<int>(i) == *excluded_) continue;
    const Rgb& c = palette_[i];
    const int channel[3] = {c.red, c.green, c.blue};
    int dMin = 0, dMax = 0;
    for (int a = 0; a < 3; ++a) {
      const int lo = AxisMin(channel[a], low[a]), hi = AxisMax(channel[a], low[a]);
      dMin += lo * lo;
      dMax += hi * hi;
    }
    nearest[i] = dMin;
    bound = std::min(bound, dMax);
  }
  // An entry whose nearest point of the cell is farther than some entry's farthest point can
  // never be nearest to a colour of the cell, nor tie with the nearest.
  cellStart_[cell] = static_cast<int32_t>(candidates_.size());
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    if (excluded_ && static_cast<int>(i) == *excluded_) continue;
    if (nearest[i] <= bound) candidates_.push_back(static_cast<uint8_t>(i));
  }
  cellCount_[cell] = static_cast<uint16_t>(candidates_.size() - static_cast<std::size_t>(cellStart_[cell]));
}

}  // namespace mv
