#include <vector>

#include "filtering/FastRows.h"

namespace mv {

// Column sums over the window's rows are kept for every byte of a source row and moved down one
// row at a time; each output row then slides a window of N column sums along each channel.
RowProducer BoxSumRows(const PassContext& pass, int32_t weight,
                       std::shared_ptr<const ConvolutionFinisher> finish) {
  return [&pass, weight, finish](int begin, int end, const std::function<bool(int)>& rowDone) {
    const int n = pass.Side();
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(pass.source.Width());
    const int outWidth = pass.output.Width();
    std::vector<int32_t> columns(rowBytes, 0);
    for (int i = 0; i < n; ++i) {
      const uint8_t* row = pass.source.Row(begin + i);
      for (std::size_t b = 0; b < rowBytes; ++b) columns[b] += row[b];
    }
    for (int y = begin; y < end; ++y) {
      uint8_t* out = pass.output.Row(y);
      for (int c = 0; c < 3; ++c) {
        int32_t sum = 0;
        for (int j = 0; j < n; ++j) sum += columns[static_cast<std::size_t>(c + 3 * j)];
        for (int x = 0; x < outWidth; ++x) {
          out[3 * x + c] = (*finish)(int64_t{weight} * sum);
          if (x + 1 < outWidth) {
            sum += columns[static_cast<std::size_t>(c + 3 * (x + n))] -
                   columns[static_cast<std::size_t>(c + 3 * x)];
          }
        }
      }
      if (y + 1 < end) {
        const uint8_t* leaving = pass.source.Row(y);
        const uint8_t* entering = pass.source.Row(y + n);
        for (std::size_t b = 0; b < rowBytes; ++b) columns[b] += entering[b] - leaving[b];
      }
      if (!rowDone(y)) return;
    }
  };
}

}  // namespace mv
