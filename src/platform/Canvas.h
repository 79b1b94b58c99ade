#pragma once
// Drawing on a 24- or 32-bit Bitmap with the rules of the Windows graphics device interface:
// a 1-pixel pen with a colour and a binary raster mode, a brush that is solid, clear or hatched,
// lines that leave out their end pixel, rectangles with right and bottom exclusive, and bitmap
// transfers with any ternary raster-operation code. Bit-exact and testable without a display.
//
// The canvas keeps its pen, brush and current position between calls, as a window's canvas does;
// the bitmap it draws on can be changed with SetTarget. An origin lets a surface that shows only part
// of a larger coordinate space (the visible part of the image area) be drawn on in that space's
// coordinates: drawing at (x, y) touches the target pixel (x - origin.x, y - origin.y). Everything
// outside the target is clipped.

#include <cstdint>
#include <optional>

#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "platform/Geometry.h"

namespace mv {

// Binary raster modes of the pen: the result from pen colour P and destination D, bit by bit.
enum class PenMode {
  Black,        // 0
  White,        // 1
  Nop,          // D
  Not,          // ~D (pmNot: inverts what lies under the pen)
  Copy,         // P
  NotCopy,      // ~P
  MergePenNot,  // P | ~D
  MaskPenNot,   // P & ~D
  MergeNotPen,  // ~P | D
  MaskNotPen,   // ~P & D
  Merge,        // P | D
  NotMerge,     // ~(P | D)
  Mask,         // P & D
  NotMask,      // ~(P & D)
  Xor,          // P ^ D
  NotXor,       // ~(P ^ D)
};

enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

// Ternary raster-operation codes (bits 16..23 are the boolean function of pattern, source and
// destination; Draw accepts any code).
namespace rop {
constexpr uint32_t kSrcCopy = 0x00CC0020;      // S
constexpr uint32_t kSrcPaint = 0x00EE0086;     // S | D
constexpr uint32_t kSrcAnd = 0x008800C6;       // S & D
constexpr uint32_t kSrcInvert = 0x00660046;    // S ^ D
constexpr uint32_t kSrcErase = 0x00440328;     // S & ~D
constexpr uint32_t kNotSrcCopy = 0x00330008;   // ~S
constexpr uint32_t kNotSrcErase = 0x001100A6;  // ~(S | D)
constexpr uint32_t kMergeCopy = 0x00C000CA;    // P & S
constexpr uint32_t kMergePaint = 0x00BB0226;   // ~S | D
constexpr uint32_t kPatCopy = 0x00F00021;      // P
constexpr uint32_t kPatPaint = 0x00FB0A09;     // P | ~S | D
constexpr uint32_t kPatInvert = 0x005A0049;    // P ^ D
constexpr uint32_t kDstInvert = 0x00550009;    // ~D
constexpr uint32_t kBlackness = 0x00000042;    // 0
constexpr uint32_t kWhiteness = 0x00FF0062;    // 1
}  // namespace rop

class Canvas {
 public:
  Canvas() = default;
  explicit Canvas(Bitmap& target, Point origin = {}) { SetTarget(target, origin); }

  // target must be Bgr24 or Bgrx32 (std::logic_error otherwise). The canvas does not own it.
  void SetTarget(Bitmap& target, Point origin = {});
  void ClearTarget() { target_ = nullptr; }
  bool HasTarget() const { return target_ != nullptr; }

  ColorRef PenColor() const { return penColor_; }
  void SetPenColor(ColorRef color) { penColor_ = color; }
  PenMode GetPenMode() const { return penMode_; }
  void SetPenMode(PenMode mode) { penMode_ = mode; }
  ColorRef BrushColor() const { return brushColor_; }
  void SetBrushColor(ColorRef color) { brushColor_ = color; }
  BrushStyle GetBrushStyle() const { return brushStyle_; }
  void SetBrushStyle(BrushStyle style) { brushStyle_ = style; }
  // Hatched brushes paint only their lines when the background is transparent (the default);
  // otherwise the gaps take the background colour.
  void SetHatchBackground(bool opaque, ColorRef color = colors::kWhite);
  Point PenPosition() const { return position_; }

  void MoveTo(int32_t x, int32_t y) { position_ = {x, y}; }
  // A line from the pen position to (x, y) in the pen's colour and mode, without its end pixel;
  // the pen position becomes (x, y). Minor-axis ties go to the smaller coordinate, so the line from
  // B to A covers the same pixels as the line from A to B, with B in place of A.
  void LineTo(int32_t x, int32_t y);
  // Outline with the pen (each pixel touched once, whatever the mode), inside with the brush
  // through the pen's mode. Covers left <= x < right, top <= y < bottom (swapped edges are put in
  // order); an area of width or height 0 draws nothing.
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // The rectangle's pixels with the brush only, copied (a clear brush paints nothing).
  void FillRect(const Rect& rect);
  // The source (any format) with its top-left at (x, y), combined with the destination and the brush
  // (the pattern) by a ternary raster-operation code. The pattern of a hatched brush has the hatch
  // background colour in its gaps; a clear brush is the pattern 0.
  void Draw(int32_t x, int32_t y, const Bitmap& source, uint32_t ropCode = rop::kSrcCopy);
  // The source stretched onto dest by nearest-neighbour sampling, as a stretched copy of colour
  // pixels does: dest pixel (i, j) takes source pixel (floor(i * sw / dw), floor(j * sh / dh)).
  void StretchDraw(const Rect& dest, const Bitmap& source);
  // One pixel in the pen's colour and mode.
  void SetPixel(int32_t x, int32_t y);

 private:
  Bitmap& Target() const;  // std::logic_error without a target
  // The target pixel at target coordinates, or nullptr outside the target.
  uint8_t* TargetPixel(int64_t tx, int64_t ty) const;
  void Plot(int64_t tx, int64_t ty, PenMode mode, uint32_t colour);
  // The brush at a target pixel as painted by FillRect and Rectangle (none in a transparent gap).
  std::optional<uint32_t> BrushColourAt(int64_t tx, int64_t ty) const;
  // The brush at a target pixel as the pattern operand of Draw.
  uint32_t PatternAt(int64_t tx, int64_t ty) const;
  // Paints the brush over target coordinates [left, right) x [top, bottom) through `mode`.
  void PaintBrush(int64_t left, int64_t top, int64_t right, int64_t bottom, PenMode mode);

  Bitmap* target_ = nullptr;
  Point origin_;
  ColorRef penColor_ = colors::kBlack;
  PenMode penMode_ = PenMode::Copy;
  ColorRef brushColor_ = colors::kWhite;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  bool hatchBackgroundOpaque_ = false;
  ColorRef hatchBackground_ = colors::kWhite;
  Point position_;
};

}  // namespace mv
