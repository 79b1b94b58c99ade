#include <algorithm>
#include <vector>

#include "filtering/FastRows.h"

namespace mv {

namespace {

// sums[b] = columns[b] + columns[b + 3] + ... + columns[b + 3(n - 1)] for the bytes b of an output
// row: directly for small windows, else as a running sum along each channel.
void SlideAlongRow(const int32_t* columns, int n, int outWidth, int32_t* sums) {
  const int bytes = 3 * outWidth;
  if (n <= 7) {
    std::copy(columns, columns + bytes, sums);
    for (int j = 1; j < n; ++j) {
      const int32_t* shifted = columns + 3 * j;
      for (int b = 0; b < bytes; ++b) sums[b] += shifted[b];
    }
    return;
  }
  for (int b = 0; b < 3; ++b) {
    int32_t sum = 0;
    for (int j = 0; j < n; ++j) sum += columns[b + 3 * j];
    sums[b] = sum;
  }
  for (int b = 3; b < bytes; ++b) sums[b] = sums[b - 3] + columns[b - 3 + 3 * n] - columns[b - 3];
}

}  // namespace

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
    std::vector<int32_t> sums(3 * static_cast<std::size_t>(outWidth));
    for (int y = begin; y < end; ++y) {
      SlideAlongRow(columns.data(), n, outWidth, sums.data());
      finish->FinishRow(sums.data(), weight, pass.output.Row(y), 3 * outWidth);
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
