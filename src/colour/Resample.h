#pragma once
// The area-averaging resampler behind resizing and every thumbnail: each destination pixel is the
// exact mean, over its footprint in the source, of the bilinear surface through the source pixels;
// extended precision, channels rounded with halves to even. It runs under the progress dialog
// (always, one step per destination row); Cancel ends it without a result.

#include <optional>

#include "platform/Bitmap.h"
#include "platform/Feedback.h"

namespace mv {

// `source` (any format, positive size) resampled to width x height, 24 bits per pixel; none when
// the progress dialog was cancelled ("キャンセルしました" on the message line). A width or height of 0
// is ZeroDivideError, a negative one RangeError, a size past the program's image limits ImageLimitError.
std::optional<Bitmap> ResampleBitmap(const Bitmap& source, int width, int height, Feedback& feedback);

// `source` scaled to fit a box x box square (enlarged when smaller): ResampleBitmap to
// trunc(W x s) x trunc(s x H) with s the smaller of box / W and box / H; none on any error.
std::optional<Bitmap> MakeThumbnail(const Bitmap& source, int box, Feedback& feedback);

}  // namespace mv
