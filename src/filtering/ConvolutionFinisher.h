#pragma once
// Turns an exact integer weighted sum into the channel value of TCustomFilter, giving the same byte
// as FinishConvolution(sum, divisor, offset) for every sum in the range it was made for.

#include <cstdint>
#include <type_traits>
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
    if constexpr (std::is_same_v<Sum, int32_t>) {
      if (vectorised_ && scale >= -kLargestVectorSum && scale <= kLargestVectorSum) {
        const int done = FinishVectorised(sums, static_cast<int32_t>(scale), out, count);
        sums += done;
        out += done;
        count -= done;
      }
    }
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
  // Whether FinishRow computes 32-bit sums in vector lanes (for tests).
  bool Vectorised() const { return vectorised_; }

 private:
  // Sums of at most this size are exact in single precision with a half added.
  static constexpr int64_t kLargestVectorSum = int64_t{1} << 22;

  // The leading multiple of 32 of `count` bytes by the vector rule; answers how many it did.
  int FinishVectorised(const int32_t* sums, int32_t scale, uint8_t* out, int count) const;
  // Whether the vector rule gives the table's byte for every sum in [minSum, maxSum].
  bool VectorRuleMatchesTable(int64_t maxSum) const;

  uint8_t ByIntegerDivision(int64_t sum) const;
  uint8_t Exact(int64_t sum) const;

  double divisor_;
  int32_t offset_;
  int64_t minSum_;
  int64_t integerDivisor_ = 0;  // the divisor when it is an integer of moderate size, else 0
  std::vector<uint8_t> table_;  // table_[s - minSum] for small ranges
  // With a table for an integer divisor, FinishRow may compute clamp(floor((s ± 1/2) / divisor) +
  // offset) in single precision, eight sums at a time (AVX2): chosen only when that gives the
  // table's byte for every sum in range, which is checked when the finisher is made.
  bool vectorised_ = false;
  float bias_ = 0;        // half, with the divisor's sign, so that exact quotients stay clear of the floor
  float reciprocal_ = 0;  // 1 / divisor, rounded to single precision
};

}  // namespace mv
