#include "codecs/Quantizer.h"

#include <algorithm>
#include <array>

#include "codecs/NearestColor.h"
#include "codecs/WuPalette.h"

namespace mv {

namespace {

constexpr int kMaxColors = 256;

uint32_t Key(const uint8_t* bgr) {
  return uint32_t{bgr[0]} | (uint32_t{bgr[1]} << 8) | (uint32_t{bgr[2]} << 16);
}
uint32_t Key(ColorRef c) {
  return uint32_t{BlueOf(c)} | (uint32_t{GreenOf(c)} << 8) | (uint32_t{RedOf(c)} << 16);
}
Rgb FromKey(uint32_t key) {
  return Rgb{static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 8), static_cast<uint8_t>(key)};
}

// The distinct colours of an image when there are at most 256, each with its palette index; a small
// open-addressing table that gives up at the 257th colour.
class ColorTable {
 public:
  static constexpr std::size_t kSlots = 1024;

  // The index of the colour, adding it when new; -1 when the table is full.
  int Insert(uint32_t key) {
    std::size_t slot = (key * 2654435761u) >> 22;
    while (used_[slot]) {
      if (keys_[slot] == key) return index_[slot];
      slot = (slot + 1) & (kSlots - 1);
    }
    if (colors_.size() == kMaxColors) return -1;
    used_[slot] = true;
    keys_[slot] = key;
    index_[slot] = static_cast<int>(colors_.size());
    colors_.push_back(key);
    return index_[slot];
  }
  const std::vector<uint32_t>& Colors() const { return colors_; }

 private:
  std::array<bool, kSlots> used_{};
  std::array<uint32_t, kSlots> keys_{};
  std::array<int, kSlots> index_{};
  std::vector<uint32_t> colors_;
};

std::vector<PaletteEntry> ToPaletteEntries(const std::vector<Rgb>& colors) {
  std::vector<PaletteEntry> palette;
  for (const Rgb& c : colors) palette.push_back(PaletteEntry{c.blue, c.green, c.red, 0});
  return palette;
}

// Maps every pixel to its own colour when the image has few enough; an empty bitmap otherwise.
Bitmap MapExactColors(const Bitmap& bgr24, std::optional<ColorRef> keepExact) {
  ColorTable table;
  if (keepExact) table.Insert(Key(*keepExact));
  Bitmap result(bgr24.Width(), bgr24.Height(), PixelFormat::Indexed8);
  for (int y = 0; y < bgr24.Height(); ++y) {
    const uint8_t* in = bgr24.Row(y);
    uint8_t* out = result.Row(y);
    for (int x = 0; x < bgr24.Width(); ++x, in += 3) {
      const int index = table.Insert(Key(in));
      if (index < 0) return Bitmap();
      out[x] = static_cast<uint8_t>(index);
    }
  }
  std::vector<Rgb> colors;
  for (const uint32_t key : table.Colors()) colors.push_back(FromKey(key));
  result.SetPalette(ToPaletteEntries(colors));
  return result;
}

uint8_t Clamp(int v) {
  return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

// Floyd-Steinberg error diffusion (7/16 ahead, 3/16, 5/16 and 1/16 on the next row), serpentine:
// even rows left to right, odd rows right to left. Errors are kept in sixteenths.
Bitmap Diffuse(const Bitmap& bgr24, const std::vector<Rgb>& palette, std::optional<int> keepIndex,
               std::optional<ColorRef> keepExact) {
  const int width = bgr24.Width();
  NearestColor nearest(palette, keepIndex);
  Bitmap result(width, bgr24.Height(), PixelFormat::Indexed8);
  result.SetPalette(ToPaletteEntries(palette));
  // Two error rows with one spare pixel on each side, three channels each.
  std::vector<int> current(static_cast<std::size_t>(width + 2) * 3), below(current.size());
  const uint32_t keepKey = keepExact ? Key(*keepExact) : 0;
  for (int y = 0; y < bgr24.Height(); ++y) {
    const uint8_t* in = bgr24.Row(y);
    uint8_t* out = result.Row(y);
    const bool forward = (y % 2) == 0;
    const int step = forward ? 1 : -1;
    for (int i = 0, x = forward ? 0 : width - 1; i < width; ++i, x += step) {
      const uint8_t* p = in + 3 * x;
      int* here = current.data() + 3 * (x + 1);
      if (keepExact && Key(p) == keepKey) {
        out[x] = static_cast<uint8_t>(*keepIndex);
        continue;
      }
      const int red = Clamp(p[2] + ((here[0] + 8) >> 4));
      const int green = Clamp(p[1] + ((here[1] + 8) >> 4));
      const int blue = Clamp(p[0] + ((here[2] + 8) >> 4));
      const int index = nearest.Find(red, green, blue);
      out[x] = static_cast<uint8_t>(index);
      const Rgb& c = palette[static_cast<std::size_t>(index)];
      const int error[3] = {red - c.red, green - c.green, blue - c.blue};
      int* ahead = here + 3 * step;
      int* under = below.data() + 3 * (x + 1);
      for (int k = 0; k < 3; ++k) {
        ahead[k] += error[k] * 7;
        under[k - 3 * step] += error[k] * 3;
        under[k] += error[k] * 5;
        under[k + 3 * step] += error[k];
      }
    }
    current.swap(below);
    std::fill(below.begin(), below.end(), 0);
  }
  return result;
}

// Makes sure no quantized colour equals the kept colour, so its entry stays the only one.
void AvoidColor(std::vector<Rgb>& palette, const Rgb& kept) {
  for (Rgb& c : palette) {
    if (c == kept) c.blue = static_cast<uint8_t>(c.blue < 255 ? c.blue + 1 : 254);
  }
}

}  // namespace

Bitmap QuantizeTo8Bit(const Bitmap& source, std::optional<ColorRef> keepExact) {
  if (source.IsEmpty()) {
    Bitmap empty(source.Width(), source.Height(), PixelFormat::Indexed8);
    empty.SetPalette({PaletteEntry{}});
    return empty;
  }
  Bitmap converted;
  const bool is24 = source.Format() == PixelFormat::Bgr24;
  if (!is24) converted = source.ToBgr24();
  const Bitmap& bgr24 = is24 ? source : converted;

  Bitmap exact = MapExactColors(bgr24, keepExact);
  if (!exact.IsEmpty()) return exact;

  std::vector<Rgb> palette = OptimisedPalette(bgr24, keepExact ? kMaxColors - 1 : kMaxColors, keepExact);
  std::optional<int> keepIndex;
  if (keepExact) {
    const Rgb kept = FromKey(Key(*keepExact));
    AvoidColor(palette, kept);
    keepIndex = static_cast<int>(palette.size());
    palette.push_back(kept);
  }
  return Diffuse(bgr24, palette, keepIndex, keepExact);
}

}  // namespace mv
