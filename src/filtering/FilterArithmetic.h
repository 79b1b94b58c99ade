#pragma once
// Arithmetic shared by the filters and the fast paths of the pass, so both compute a channel the
// same way.

#include <cstdint>

#include "platform/Numbers.h"

namespace mv {

// dividend / divisor in extended precision; a zero divisor raises what the floating-point unit
// reports: ZeroDivideError, or InvalidFloatOperation for 0 / 0.
Extended CheckedDivide(Extended dividend, Extended divisor);

// One channel of TCustomFilter from its weighted sum: clamp(sum / divisor + offset).
inline uint8_t FinishConvolution(double sum, double divisor, int32_t offset) {
  return ClampToByte(CheckedDivide(sum, divisor) + offset);
}

}  // namespace mv
