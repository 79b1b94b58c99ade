#include "platform/Canvas.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

namespace mv {

namespace {

// Pixels are handled as 24-bit values in memory order: blue in bits 0..7, green 8..15, red 16..23.
// Raster operations work bit by bit, so the order only has to be the same for all operands.
constexpr uint32_t kColourBits = 0xFFFFFF;

uint32_t FromColorRef(ColorRef c) {
  return static_cast<uint32_t>(BlueOf(c)) | (static_cast<uint32_t>(GreenOf(c)) << 8) |
         (static_cast<uint32_t>(RedOf(c)) << 16);
}

uint32_t Load(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
}

void Store(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
}

// The binary raster operation of a pen mode: pen colour p, destination d.
uint32_t ApplyPenMode(PenMode mode, uint32_t p, uint32_t d) {
  uint32_t r = 0;
  switch (mode) {
    case PenMode::Black:
      r = 0;
      break;
    case PenMode::White:
      r = ~0u;
      break;
    case PenMode::Nop:
      r = d;
      break;
    case PenMode::Not:
      r = ~d;
      break;
    case PenMode::Copy:
      r = p;
      break;
    case PenMode::NotCopy:
      r = ~p;
      break;
    case PenMode::MergePenNot:
      r = p | ~d;
      break;
    case PenMode::MaskPenNot:
      r = p & ~d;
      break;
    case PenMode::MergeNotPen:
      r = ~p | d;
      break;
    case PenMode::MaskNotPen:
      r = ~p & d;
      break;
    case PenMode::Merge:
      r = p | d;
      break;
    case PenMode::NotMerge:
      r = ~(p | d);
      break;
    case PenMode::Mask:
      r = p & d;
      break;
    case PenMode::NotMask:
      r = ~(p & d);
      break;
    case PenMode::Xor:
      r = p ^ d;
      break;
    case PenMode::NotXor:
      r = ~(p ^ d);
      break;
  }
  return r & kColourBits;
}

// A ternary raster operation: bits 16..23 of the code hold the result for each combination of
// pattern, source and destination bit, at index 4p + 2s + d.
uint32_t ApplyTernary(uint8_t function, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t result = 0;
  for (int index = 0; index < 8; ++index) {
    if ((function & (1u << index)) == 0) continue;
    const uint32_t pTerm = (index & 4) ? p : ~p;
    const uint32_t sTerm = (index & 2) ? s : ~s;
    const uint32_t dTerm = (index & 1) ? d : ~d;
    result |= pTerm & sTerm & dTerm;
  }
  return result & kColourBits;
}

// The 8x8 hatch patterns, one byte per row from the top, bit 7 the leftmost column.
// Forward diagonal falls from upper left to lower right, backward diagonal rises from lower left
// to upper right.
using HatchPattern = std::array<uint8_t, 8>;
const HatchPattern* PatternOf(BrushStyle style) {
  static constexpr HatchPattern kHorizontal{0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00};
  static constexpr HatchPattern kVertical{0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08};
  static constexpr HatchPattern kFDiagonal{0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
  static constexpr HatchPattern kBDiagonal{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
  static constexpr HatchPattern kCross{0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08};
  static constexpr HatchPattern kDiagCross{0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};
  switch (style) {
    case BrushStyle::Horizontal:
      return &kHorizontal;
    case BrushStyle::Vertical:
      return &kVertical;
    case BrushStyle::FDiagonal:
      return &kFDiagonal;
    case BrushStyle::BDiagonal:
      return &kBDiagonal;
    case BrushStyle::Cross:
      return &kCross;
    case BrushStyle::DiagCross:
      return &kDiagCross;
    default:
      return nullptr;
  }
}

bool HatchBit(const HatchPattern& pattern, int64_t tx, int64_t ty) {
  return (pattern[static_cast<std::size_t>(ty & 7)] & (0x80 >> (tx & 7))) != 0;
}

// round(numerator / denominator) with halves toward minus infinity; denominator > 0.
int64_t RoundHalfDown(int64_t numerator, int64_t denominator) {
  // ceil((2n - d) / 2d) = -floor((d - 2n) / 2d)
  const int64_t a = denominator - 2 * numerator, b = 2 * denominator;
  const int64_t floorDiv = a / b - ((a % b != 0) && (a < 0) ? 1 : 0);
  return -floorDiv;
}

// Reads any source format as 24-bit values.
uint32_t SourcePixel(const Bitmap& source, int x, int y) {
  switch (source.Format()) {
    case PixelFormat::Bgr24:
      return Load(source.Row(y) + 3 * static_cast<std::size_t>(x));
    case PixelFormat::Bgrx32:
      return Load(source.Row(y) + 4 * static_cast<std::size_t>(x));
    default:
      return FromColorRef(source.ColorAt(x, y));
  }
}

}  // namespace

void Canvas::SetTarget(Bitmap& target, Point origin) {
  if (target.Format() != PixelFormat::Bgr24 && target.Format() != PixelFormat::Bgrx32) {
    throw std::logic_error("a canvas draws on 24- or 32-bit bitmaps only");
  }
  target_ = &target;
  origin_ = origin;
}

void Canvas::SetHatchBackground(bool opaque, ColorRef color) {
  hatchBackgroundOpaque_ = opaque;
  hatchBackground_ = color;
}

Bitmap& Canvas::Target() const {
  if (target_ == nullptr) throw std::logic_error("drawing on a canvas without a target");
  return *target_;
}

uint8_t* Canvas::TargetPixel(int64_t tx, int64_t ty) const {
  Bitmap& target = Target();
  if (tx < 0 || ty < 0 || tx >= target.Width() || ty >= target.Height()) return nullptr;
  const std::size_t bytes = target.Format() == PixelFormat::Bgrx32 ? 4 : 3;
  return target.Row(static_cast<int>(ty)) + static_cast<std::size_t>(tx) * bytes;
}

void Canvas::Plot(int64_t tx, int64_t ty, PenMode mode, uint32_t colour) {
  if (uint8_t* p = TargetPixel(tx, ty)) Store(p, ApplyPenMode(mode, colour, Load(p)));
}

void Canvas::SetPixel(int32_t x, int32_t y) {
  Plot(int64_t{x} - origin_.x, int64_t{y} - origin_.y, penMode_, FromColorRef(penColor_));
}

// The line's pixels are those of the major axis from the start up to, not including, the end; on
// the minor axis each takes the nearest pixel to the exact line, a tie going to the smaller
// coordinate. That rule does not depend on the direction, so the line from B to A covers the same
// pixels as the line from A to B except that it includes B and leaves out A.
void Canvas::LineTo(int32_t x, int32_t y) {
  Bitmap& target = Target();
  const Point from = position_;
  position_ = {x, y};
  const int64_t x0 = int64_t{from.x} - origin_.x, y0 = int64_t{from.y} - origin_.y;
  const int64_t dx = int64_t{x} - from.x, dy = int64_t{y} - from.y;
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
  const int64_t majorDelta = xMajor ? dx : dy, minorDelta = xMajor ? dy : dx;
  const int64_t majorLimit = xMajor ? target.Width() : target.Height();
  const int64_t length = std::abs(majorDelta);
  if (length == 0) return;
  const int64_t direction = majorDelta > 0 ? 1 : -1;
  // Steps t whose major coordinate major0 + direction * t lies inside the target.
  int64_t first = 0, last = length - 1;
  if (direction > 0) {
    first = std::max(first, -major0);
    last = std::min(last, majorLimit - 1 - major0);
  } else {
    first = std::max(first, major0 - (majorLimit - 1));
    last = std::min(last, major0);
  }
  const uint32_t colour = FromColorRef(penColor_);
  for (int64_t t = first; t <= last; ++t) {
    const int64_t major = major0 + direction * t;
    const int64_t minor = minor0 + RoundHalfDown(t * minorDelta, length);
    if (xMajor) {
      Plot(major, minor, penMode_, colour);
    } else {
      Plot(minor, major, penMode_, colour);
    }
  }
}

std::optional<uint32_t> Canvas::BrushColourAt(int64_t tx, int64_t ty) const {
  if (brushStyle_ == BrushStyle::Clear) return std::nullopt;
  if (brushStyle_ == BrushStyle::Solid) return FromColorRef(brushColor_);
  if (HatchBit(*PatternOf(brushStyle_), tx, ty)) return FromColorRef(brushColor_);
  if (hatchBackgroundOpaque_) return FromColorRef(hatchBackground_);
  return std::nullopt;
}

uint32_t Canvas::PatternAt(int64_t tx, int64_t ty) const {
  switch (brushStyle_) {
    case BrushStyle::Clear:
      return 0;
    case BrushStyle::Solid:
      return FromColorRef(brushColor_);
    default:
      return FromColorRef(HatchBit(*PatternOf(brushStyle_), tx, ty) ? brushColor_ : hatchBackground_);
  }
}

void Canvas::PaintBrush(int64_t left, int64_t top, int64_t right, int64_t bottom, PenMode mode) {
  Bitmap& target = Target();
  left = std::max<int64_t>(left, 0);
  top = std::max<int64_t>(top, 0);
  right = std::min<int64_t>(right, target.Width());
  bottom = std::min<int64_t>(bottom, target.Height());
  if (brushStyle_ == BrushStyle::Clear) return;
  for (int64_t ty = top; ty < bottom; ++ty) {
    for (int64_t tx = left; tx < right; ++tx) {
      if (const auto colour = BrushColourAt(tx, ty)) Plot(tx, ty, mode, *colour);
    }
  }
}

void Canvas::FillRect(const Rect& rect) {
  PaintBrush(int64_t{rect.left} - origin_.x, int64_t{rect.top} - origin_.y, int64_t{rect.right} - origin_.x,
             int64_t{rect.bottom} - origin_.y, PenMode::Copy);
}

// The outline is the first and last row and the first and last column of the area, each pixel
// visited once, so an inverting pen drawn twice restores the picture. The inside is painted with the
// brush through the pen's raster mode, as the device's binary raster operation applies to both.
void Canvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Target();
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (left == right || top == bottom) return;
  const int64_t l = int64_t{left} - origin_.x, t = int64_t{top} - origin_.y;
  const int64_t r = int64_t{right} - origin_.x - 1, b = int64_t{bottom} - origin_.y - 1;  // inclusive
  PaintBrush(l + 1, t + 1, r, b, penMode_);
  const uint32_t colour = FromColorRef(penColor_);
  const int64_t width = Target().Width(), height = Target().Height();
  auto row = [&](int64_t ty) {
    for (int64_t tx = std::max<int64_t>(l, 0); tx <= std::min<int64_t>(r, width - 1); ++tx)
      Plot(tx, ty, penMode_, colour);
  };
  auto column = [&](int64_t tx) {
    for (int64_t ty = std::max<int64_t>(t + 1, 0); ty <= std::min<int64_t>(b - 1, height - 1); ++ty) {
      Plot(tx, ty, penMode_, colour);
    }
  };
  row(t);
  if (b > t) row(b);
  column(l);
  if (r > l) column(r);
}

void Canvas::Draw(int32_t x, int32_t y, const Bitmap& source, uint32_t ropCode) {
  Bitmap& target = Target();
  // Drawing a bitmap onto itself reads the picture as it was before the transfer.
  if (&source == &target) {
    const Bitmap copy = source;
    Draw(x, y, copy, ropCode);
    return;
  }
  const uint8_t function = static_cast<uint8_t>(ropCode >> 16);
  const int64_t tx0 = int64_t{x} - origin_.x, ty0 = int64_t{y} - origin_.y;
  const int64_t sxBegin = std::max<int64_t>(0, -tx0),
                sxEnd = std::min<int64_t>(source.Width(), target.Width() - tx0);
  const int64_t syBegin = std::max<int64_t>(0, -ty0),
                syEnd = std::min<int64_t>(source.Height(), target.Height() - ty0);
  if (sxBegin >= sxEnd || syBegin >= syEnd) return;
  const bool plainCopy = function == 0xCC && source.Format() == target.Format();
  const std::size_t bytes = target.Format() == PixelFormat::Bgrx32 ? 4 : 3;
  for (int64_t sy = syBegin; sy < syEnd; ++sy) {
    const int64_t ty = ty0 + sy;
    uint8_t* out = target.Row(static_cast<int>(ty));
    if (plainCopy) {
      std::memcpy(out + static_cast<std::size_t>(tx0 + sxBegin) * bytes,
                  source.Row(static_cast<int>(sy)) + static_cast<std::size_t>(sxBegin) * bytes,
                  static_cast<std::size_t>(sxEnd - sxBegin) * bytes);
      continue;
    }
    for (int64_t sx = sxBegin; sx < sxEnd; ++sx) {
      const int64_t tx = tx0 + sx;
      uint8_t* p = out + static_cast<std::size_t>(tx) * bytes;
      const uint32_t s = SourcePixel(source, static_cast<int>(sx), static_cast<int>(sy));
      Store(p, ApplyTernary(function, PatternAt(tx, ty), s, Load(p)));
    }
  }
}

void Canvas::StretchDraw(const Rect& dest, const Bitmap& source) {
  Bitmap& target = Target();
  const int64_t dw = dest.Width(), dh = dest.Height();
  if (dw <= 0 || dh <= 0 || source.IsEmpty()) return;
  if (&source == &target) {
    const Bitmap copy = source;
    StretchDraw(dest, copy);
    return;
  }
  const int64_t tx0 = int64_t{dest.left} - origin_.x, ty0 = int64_t{dest.top} - origin_.y;
  const int64_t iBegin = std::max<int64_t>(0, -tx0), iEnd = std::min<int64_t>(dw, target.Width() - tx0);
  const int64_t jBegin = std::max<int64_t>(0, -ty0), jEnd = std::min<int64_t>(dh, target.Height() - ty0);
  if (iBegin >= iEnd || jBegin >= jEnd) return;
  std::vector<int> sourceColumn(static_cast<std::size_t>(iEnd - iBegin));
  for (int64_t i = iBegin; i < iEnd; ++i) {
    sourceColumn[static_cast<std::size_t>(i - iBegin)] = static_cast<int>(i * source.Width() / dw);
  }
  const std::size_t bytes = target.Format() == PixelFormat::Bgrx32 ? 4 : 3;
  for (int64_t j = jBegin; j < jEnd; ++j) {
    const int sy = static_cast<int>(j * source.Height() / dh);
    uint8_t* out = target.Row(static_cast<int>(ty0 + j)) + static_cast<std::size_t>(tx0 + iBegin) * bytes;
    for (std::size_t k = 0; k < sourceColumn.size(); ++k, out += bytes) {
      Store(out, SourcePixel(source, sourceColumn[k], sy));
    }
  }
}

}  // namespace mv
