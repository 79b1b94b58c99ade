#include <vector>

#include "filtering/PassContext.h"

namespace mv {

RowProducer GenericRows(const PassContext& pass) {
  return [&pass](int begin, int end, const std::function<bool(int)>& rowDone) {
    const int n = pass.Side();
    std::vector<Pixel*> window(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    for (int y = begin; y < end; ++y) {
      Pixel* out = reinterpret_cast<Pixel*>(pass.output.Row(y));
      for (int x = 0; x < pass.output.Width(); ++x) {
        std::size_t k = 0;
        for (int i = 0; i < n; ++i) {
          Pixel* row = pass.SourcePixel(x, y + i);
          for (int j = 0; j < n; ++j) window[k++] = row + j;
        }
        out[x] = pass.filter.Apply(window, pass.kernel, pass.divisor, pass.parameter);
      }
      if (!rowDone(y)) return;
    }
  };
}

}  // namespace mv
