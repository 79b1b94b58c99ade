#pragma once
// Bitmap arithmetic: one picture added to or subtracted from another, channel by channel, with a
// coefficient (the unsharp mask, edge detection and edge enhancement combine their pictures so),
// and the inversion of every channel.

#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Feedback.h"

namespace mv {

enum class BitmapOperation {
  Add = 0,       // "ビットマップの加算": base + other * c
  Subtract = 1,  // "ビットマップの減算": base - other * c
};

// One channel by the rule: clamp(base ± other * c) in extended precision (below 0 gives 0, above
// 255 gives 255, otherwise truncated toward zero).
uint8_t ArithmeticChannel(BitmapOperation operation, uint8_t base, uint8_t other, double coefficient);

// base := base ± other * c for every channel of every pixel of `base`; `other` must be at least as
// large. Both are taken as 24-bit pictures. With `showProgress` it runs under the progress dialog
// (caption: the operation's name followed by "の進捗状況", one step per row, Cancel noticed before
// the next row: "キャンセルしました"). A failure puts "ビットマップ演算に失敗:" and the error's text
// on the message line. False when cancelled or failed; `base` is then to be discarded.
bool BitmapArithmetic(Bitmap& base, const Bitmap& other, bool showProgress, BitmapOperation operation,
                      double coefficient, Feedback& feedback);

// Every channel v of every pixel becomes 255 - v (24-bit pictures; others are converted first).
void InvertChannels(Bitmap& bitmap);

}  // namespace mv
