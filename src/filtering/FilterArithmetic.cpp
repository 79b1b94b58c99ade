#include "filtering/FilterArithmetic.h"

#include <cmath>

namespace mv {

Extended CheckedDivide(Extended dividend, Extended divisor) {
  if (divisor == 0) {
    if (dividend == 0 || std::isnan(dividend)) throw InvalidFloatOperation();
    throw ZeroDivideError();
  }
  return dividend / divisor;
}

}  // namespace mv
