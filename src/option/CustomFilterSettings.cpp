#include "option/CustomFilterSettings.h"

namespace mv {

std::span<const FilterPreset> FilterPresets() {
  static constexpr FilterPreset kPresets[] = {
      {"恒等（変化なし）", {0, 0, 0, 0, 1, 0, 0, 0, 0}, 1.0, 0},
      {"平均（ぼかし）", {1, 1, 1, 1, 1, 1, 1, 1, 1}, 9.0, 0},
      {"シャープ", {0, -1, 0, -1, 5, -1, 0, -1, 0}, 1.0, 0},
      {"ラプラシアン", {-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1.0, 0},
      {"エンボス", {-1, -1, 0, -1, 0, 1, 0, 1, 1}, 1.0, 128},
  };
  return kPresets;
}

std::span<const RasterOperation> RasterOperations() {
  // "結果" is the filtered picture, "画像" what lies under it, "ブラシ" the canvas's brush.
  static constexpr RasterOperation kOperations[] = {
      {rop::kSrcCopy, "SRCCOPY", "結果をそのまま描く"},
      {rop::kSrcPaint, "SRCPAINT", "結果 OR 画像"},
      {rop::kSrcAnd, "SRCAND", "結果 AND 画像"},
      {rop::kSrcInvert, "SRCINVERT", "結果 XOR 画像"},
      {rop::kSrcErase, "SRCERASE", "結果 AND (NOT 画像)"},
      {rop::kNotSrcCopy, "NOTSRCCOPY", "NOT 結果"},
      {rop::kNotSrcErase, "NOTSRCERASE", "NOT (結果 OR 画像)"},
      {rop::kMergeCopy, "MERGECOPY", "ブラシ AND 結果"},
      {rop::kMergePaint, "MERGEPAINT", "(NOT 結果) OR 画像"},
      {rop::kPatCopy, "PATCOPY", "ブラシで塗る"},
      {rop::kPatPaint, "PATPAINT", "ブラシ OR (NOT 結果) OR 画像"},
      {rop::kPatInvert, "PATINVERT", "ブラシ XOR 画像"},
      {rop::kDstInvert, "DSTINVERT", "NOT 画像"},
      {rop::kBlackness, "BLACKNESS", "黒で塗る"},
      {rop::kWhiteness, "WHITENESS", "白で塗る"},
  };
  return kOperations;
}

}  // namespace mv
