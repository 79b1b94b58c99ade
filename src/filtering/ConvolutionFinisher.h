#pragma once
// Turns an exact integer weighted sum into the channel value of TCustomFilter, giving the same byte
// as FinishConvolution(sum, divisor, offset) for every sum in the range it was made for.

#include <cstdint>
#include <vector>

namespace mv {

class ConvolutionFinisher {
 public:
  // divisor: finite and not zero. Sums passed later lie in [minSum, maxSum]; about `uses` of them
  // will be finished (a table is built only when it pays).
  ConvolutionFinisher(double divisor, int32_t offset, int64_t minSum, int64_t maxSum,
                      int64_t uses = int64_t{1} << 22);

  uint8_t operator()(int64_t sum) const {
    if (!table_.empty()) return table_[static_cast<std::size_t>(sum - minSum_)];
    if (integerDivisor_ != 0) return ByIntegerDivision(sum);
    return Exact(sum);
  }

  // out[i] = (*this)(scale * sums[i]) for i < count.
  template <typename Sum>
  void FinishRow(const Sum* sums, int64_t scale, uint8_t* out, int count) const {
    if (!table_.empty()) {
      const uint8_t* table = table_.data() - minSum_;
      for (int i = 0; i < count; ++i) out[i] = table[scale * sums[i]];
      return;
    }
    for (int i = 0; i < count; ++i) out[i] = (*this)(scale * sums[i]);
  }

  // Which method it uses (for tests): a table, integer division, or the extended-precision rule.
  enum class Method { Table, IntegerDivision, Exact };
  Method Chosen() const;

 private:
  uint8_t ByIntegerDivision(int64_t sum) const;
  uint8_t Exact(int64_t sum) const;

  double divisor_;
  int32_t offset_;
  int64_t minSum_;
  int64_t integerDivisor_ = 0;  // the divisor when it is an integer of moderate size, else 0
  std::vector<uint8_t> table_;  // table_[s - minSum] for small ranges
};

}  // namespace mv
