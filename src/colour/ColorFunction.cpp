#include "colour/ColorFunction.h"

#include "platform/Numbers.h"

namespace mv {

int32_t ParamAt(std::span<const int32_t> params, std::size_t index) {
  if (index >= params.size()) throw RangeError();
  return params[index];
}

uint8_t CheckedChannel(int64_t value) {
  if (value < 0 || value > 255) throw RangeError();
  return static_cast<uint8_t>(value);
}

}  // namespace mv
