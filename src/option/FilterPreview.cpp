#include "option/FilterPreview.h"

#include <array>
#include <cmath>
#include <exception>

#include "filtering/BorderPadding.h"
#include "filtering/ColorFilters.h"
#include "platform/Pixel.h"

namespace mv {

namespace {

Pixel PatternPixel(int x, int y) {
  constexpr int half = kPatternSide / 2;
  const auto grey = [](int v) { return Pixel{uint8_t(v), uint8_t(v), uint8_t(v)}; };
  if (y < half && x < half) {  // a dark disc on a horizontal ramp
    const int dx = x - 16, dy = y - 16;
    if (dx * dx + dy * dy <= 100) return grey(40);
    return grey(60 + x * 6);
  }
  if (y < half) {  // vertical lines one and two pixels wide, on a vertical ramp
    if (x % 6 == 0 || (x % 12 == 3 || x % 12 == 4)) return grey(20);
    return grey(120 + y * 4);
  }
  if (x < half) return grey(((x / 4 + y / 4) % 2) * 200 + 30);  // a checkerboard
  // Colour patches: red, green, blue, yellow.
  const int patch = ((y - half) / 16) * 2 + (x - half) / 16;
  static constexpr std::array<Pixel, 4> kPatches = {
      {{40, 40, 220}, {40, 200, 40}, {220, 60, 40}, {40, 220, 230}}};
  return kPatches[static_cast<std::size_t>(patch)];
}

}  // namespace

Bitmap TestPattern() {
  Bitmap pattern(kPatternSide, kPatternSide);
  for (int y = 0; y < kPatternSide; ++y) {
    auto* row = reinterpret_cast<Pixel*>(pattern.Row(y));
    for (int x = 0; x < kPatternSide; ++x) row[x] = PatternPixel(x, y);
  }
  return pattern;
}

FilterPreview PreviewCustomFilter(const Bitmap& pattern, const CustomFilterSettings& settings) {
  FilterPreview preview;
  try {
    std::optional<Bitmap> padded = PadBorder(pattern, 1);
    if (!padded) throw std::bad_alloc();
    Bitmap filtered(pattern.Width(), pattern.Height());
    const TCustomFilter filter;
    std::array<Pixel*, 9> window{};
    for (int y = 0; y < pattern.Height(); ++y) {
      auto* out = reinterpret_cast<Pixel*>(filtered.Row(y));
      for (int x = 0; x < pattern.Width(); ++x) {
        for (int i = 0; i < 3; ++i) {
          auto* row = reinterpret_cast<Pixel*>(padded->Row(y + i));
          for (int j = 0; j < 3; ++j) window[static_cast<std::size_t>(3 * i + j)] = &row[x + j];
        }
        out[x] = filter.Apply(window, settings.weights, settings.divisor, settings.offset);
      }
    }
    // The area is prepared with the brush of its fill, then the result drawn over it.
    preview.picture = pattern;
    Canvas canvas(preview.picture);
    const ColorRef fill = settings.preparation == kPrepareBlack ? colors::kBlack : colors::kWhite;
    canvas.SetBrushColor(fill);
    if (settings.preparation == kPrepareWhite || settings.preparation == kPrepareBlack)
      canvas.FillRect(Rect{0, 0, pattern.Width(), pattern.Height()});
    canvas.Draw(0, 0, filtered, settings.copyMode);
  } catch (const std::exception& error) {
    preview.picture = Bitmap();
    preview.failure = error.what();
  }
  return preview;
}

}  // namespace mv
