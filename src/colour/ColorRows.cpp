#include "colour/ColorRows.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "colour/ColorFunctions.h"
#include "colour/ColorRowKernels.h"
#include "colour/WaveRows.h"

namespace mv {

namespace {

template <typename Class>
bool Is(const TColorFunction& func) {
  return dynamic_cast<const Class*>(&func) != nullptr;
}

// The operations whose every channel result depends on that channel's value alone.
bool WorksChannelByChannel(const TColorFunction& func) {
  return Is<TBrightnessChange>(func) || Is<TGammaCorrection>(func) || Is<TContrastChange>(func) ||
         Is<TRGBEachOffset>(func) || Is<TColorInverse>(func) || Is<TSolarization>(func) ||
         Is<TPosterization>(func) || Is<TXORTrans>(func) || Is<TExpandShrinkRGB>(func);
}

// The operation's results for every channel value, from grey pixels; none when it raises for any
// value (the straightforward rule then raises where the picture first holds such a value).
std::optional<ChannelTables> TablesOf(const TColorFunction& func, std::span<const int32_t> params,
                                      double value, int32_t mode) {
  ChannelTables tables;
  try {
    for (int c = 0; c < 256; ++c) {
      const auto level = static_cast<uint8_t>(c);
      const Pixel result = func.Convert(0, 0, Pixel{level, level, level}, params, value, mode);
      tables[0][level] = result.blue;
      tables[1][level] = result.green;
      tables[2][level] = result.red;
    }
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return tables;
}

BinarizeKey KeyOf(int32_t mode) {
  if (mode == 0) return BinarizeKey::Sum;
  return mode == 1 ? BinarizeKey::Maximum : BinarizeKey::Minimum;
}

// A pixel whose key (channel sum, largest or smallest channel) is `key`.
Pixel PixelWithKey(BinarizeKey kind, int key) {
  if (kind != BinarizeKey::Sum) {
    const auto level = static_cast<uint8_t>(key);
    return Pixel{level, level, level};
  }
  return Pixel{static_cast<uint8_t>(std::min(key, 255)), static_cast<uint8_t>(std::clamp(key - 255, 0, 255)),
               static_cast<uint8_t>(std::clamp(key - 510, 0, 255))};
}

// The smallest key the binarization makes white (past the largest key: none is), found with the
// operation's own Convert; none when white and black do not split at one key.
std::optional<int> WhiteFrom(const TColorFunction& func, BinarizeKey kind, std::span<const int32_t> params,
                             double value, int32_t mode) {
  const int largest = kind == BinarizeKey::Sum ? 765 : 255;
  std::vector<bool> white(static_cast<std::size_t>(largest) + 1);
  for (int key = 0; key <= largest; ++key) {
    const Pixel result = func.Convert(0, 0, PixelWithKey(kind, key), params, value, mode);
    if (result != Pixel{255, 255, 255} && result != Pixel{0, 0, 0}) return std::nullopt;
    white[static_cast<std::size_t>(key)] = result.red == 255;
  }
  const int first = static_cast<int>(std::find(white.begin(), white.end(), true) - white.begin());
  if (std::find(white.begin() + first, white.end(), false) != white.end()) return std::nullopt;
  return first;
}

}  // namespace

ColorRow ReferenceColorRow(const TColorFunction& func, std::span<const int32_t> params, double value,
                           int32_t mode) {
  return [&func, params = std::vector<int32_t>(params.begin(), params.end()), value, mode](uint8_t* row,
                                                                                           int width, int y) {
    Pixel* pixel = reinterpret_cast<Pixel*>(row);
    for (int x = 0; x < width; ++x) pixel[x] = func.Convert(x, y, pixel[x], params, value, mode);
  };
}

ColorRow MakeColorRow(const TColorFunction& func, std::span<const int32_t> params, double value, int32_t mode,
                      RowKernels kernels) {
  const bool vector = kernels == RowKernels::Fastest && HasByteVectorKernels();
  if (WorksChannelByChannel(func)) {
    if (std::optional<ChannelTables> tables = TablesOf(func, params, value, mode)) {
      if (vector) return [t = *tables](uint8_t* row, int width, int) { LookUpRowVector(row, width, t); };
      return [t = *tables](uint8_t* row, int width, int) { LookUpRowPlain(row, width, t); };
    }
  } else if (Is<TGrayScale>(func)) {
    if (vector) return [](uint8_t* row, int width, int) { GreyRowVector(row, width); };
    return [](uint8_t* row, int width, int) { GreyRowPlain(row, width); };
  } else if (Is<TBlackAndWhite>(func)) {
    const BinarizeKey key = KeyOf(mode);
    if (const std::optional<int> threshold = WhiteFrom(func, key, params, value, mode)) {
      if (vector) {
        return [key, t = *threshold](uint8_t* row, int width, int) { BinarizeRowVector(row, width, key, t); };
      }
      return [key, t = *threshold](uint8_t* row, int width, int) { BinarizeRowPlain(row, width, key, t); };
    }
  } else if (Is<TSinTrans>(func)) {
    if (std::optional<ColorRow> wave = WaveRow(func, params, value, mode, kernels == RowKernels::Fastest)) {
      return *wave;
    }
  } else if (Is<TRGBExchange>(func)) {
    if (vector) return [](uint8_t* row, int width, int) { ExchangeRowVector(row, width); };
    return [](uint8_t* row, int width, int) { ExchangeRowPlain(row, width); };
  }
  return ReferenceColorRow(func, params, value, mode);
}

}  // namespace mv
