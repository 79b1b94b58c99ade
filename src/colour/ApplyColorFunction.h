#pragma once
// The colour-change driver: runs a pixel operation over every pixel of a bitmap, in place.
//
// The bitmap becomes 24-bit first. With `showProgress` the progress dialog is shown (caption `name`
// followed by "の進捗状況", one step per row, pending events handled after each row) and checked before
// each row: once Cancel has hidden it the message line reads "キャンセルしました" and the run ends
// without a result. Without it the rows are shared by the processors. A non-empty `name` puts
// `name` + "が完了しました" on the message line at the end. The hourglass is shown while it runs and
// the default cursor restored on every way out. An error raised by the operation propagates; the
// bitmap is then partly converted and must be discarded.

#include <cstdint>
#include <span>
#include <string>

#include "colour/ColorFunction.h"
#include "platform/Bitmap.h"
#include "platform/Feedback.h"

namespace mv {

// True when every row was converted; false when the progress dialog was cancelled.
bool ApplyColorFunction(Bitmap& bitmap, const TColorFunction& func, const std::string& name,
                        bool showProgress, int32_t mode, std::span<const int32_t> params, double value,
                        Feedback& feedback);

}  // namespace mv
