// Loads the built mvfilters.so the way the program does and checks every kernel number against a
// reference written here from the kernel tables.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "kernels/MaskArray.h"
#include "platform/DynamicLibrary.h"
#include "platform/ProgramFolder.h"

namespace mv {
namespace {

using GetFilterFunction = int32_t(int32_t, int32_t, int32_t*);
constexpr int32_t kUntouched = 0x5A5A5A5A;

struct Expected {
  int32_t result = 0;
  std::vector<int32_t> weights;  // written elements; empty when the answer is 0
};

std::vector<int32_t> Parse(const std::string& rows) {
  std::vector<int32_t> values;
  std::istringstream in(rows);
  std::string token;
  while (in >> token) {
    if (token != ";" && token != "|") values.push_back(std::stoi(token));
  }
  return values;
}

const std::map<int32_t, Expected>& FixedReference() {
  static const std::map<int32_t, Expected> table = {
      {-6, {4, Parse("0 0 0 ; -1 0 1 ; 0 0 0")}},
      {-5, {4, Parse("0 -1 0 ; 0 0 0 ; 0 1 0")}},
      {-4, {4, Parse("0 0 -1 ; 0 0 0 ; 1 0 0")}},
      {-3, {4, Parse("-1 0 0 ; 0 0 0 ; 0 0 1")}},
      {-2, {4, Parse("0 -1 0 ; -1 0 1 ; 0 1 0")}},
      {-1, {4, Parse("-1 0 -1 ; 0 0 0 ; 1 0 1")}},
      {0, {1, Parse("-1 -1 0 ; -1 0 1 ; 0 1 1")}},
      {1, {9, Parse("1 1 1 ; 1 1 1 ; 1 1 1")}},
      {2, {1, Parse("0 0 0 ; 0 1 -1 ; 0 0 0 | 0 0 0 ; 0 1 0 ; 0 -1 0")}},
      {3, {1, Parse("0 0 0 ; -1 0 1 ; 0 0 0 | 0 -1 0 ; 0 0 0 ; 0 1 0")}},
      {4, {1, Parse("0 0 0 ; 0 1 0 ; 0 0 -1 | 0 0 0 ; 0 0 1 ; 0 -1 0")}},
      {5, {1, Parse("1 0 -1 ; 1 0 -1 ; 1 0 -1 | 1 1 1 ; 0 0 0 ; -1 -1 -1")}},
      {6, {1, Parse("1 0 -1 ; 2 0 -2 ; 1 0 -1 | 1 2 1 ; 0 0 0 ; -1 -2 -1")}},
      {7, {1, Parse("-1 1 -1 ; -1 1 -1 ; -1 1 -1 | -1 -1 -1 ; 1 1 1 ; -1 -1 -1")}},
      {8, {2, Parse("-1 2 -1 ; -1 2 -1 ; -1 2 -1 | -1 -1 -1 ; 2 2 2 ; -1 -1 -1")}},
      {9, {1, Parse("0 -1 0 ; -1 4 -1 ; 0 -1 0")}},
      {10, {1, Parse("-1 -1 -1 ; -1 8 -1 ; -1 -1 -1")}},
      {11, {1, Parse("1 -2 1 ; -2 4 -2 ; 1 -2 1")}},
      {12, {1000, Parse("80 120 80 ; 120 200 120 ; 80 120 80")}},
      {13, {16, Parse("0 0 0 ; 0 16 -4 ; -4 -4 -4")}},
      {14, {16, Parse("0 0 0 ; 0 16 -6 ; -2 -6 -2")}},
      {15, {16, Parse("0 0 0 ; 0 16 -2 ; -6 -2 -6")}},
      {16, {16, Parse("0 0 0 ; 0 16 -7 ; -3 -5 -1")}},
      {17, {16, Parse("0 0 0 ; 0 16 -4 ; -1 -9 -2")}},
      {18, {21, Parse("0 -1 0 ; -1 25 -1 ; 0 -1 0")}},
      {19, {28, Parse("-1 -1 -1 ; -1 36 -1 ; -1 -1 -1")}},
  };
  return table;
}

// Generated kernels, straight from the definitions: c = n div 2, (i, j) = (row, column).
std::optional<int32_t> ReferenceWeight(int32_t number, int32_t n, int32_t i, int32_t j) {
  const int32_t c = n / 2;
  switch (number) {
    case 100:
      return 1;
    case 101: {
      const long double d = (j - c) * (j - c) + (i - c) * (i - c);
      return static_cast<int32_t>(std::trunc(std::exp(-d / (2.0L * n)) * 1000.0L));
    }
    case 200:
      return i == c;
    case 201:
      return j == c;
    case 202:
      return i == j;
    case 203:
      return j == n - 1 - i;
    case 210:
      return (i == c && j >= c) ? 2 * c + 1 - j : 0;
    case 211:
      return (i == c && j <= c) ? j + 1 : 0;
    case 212:
      return (j == c && i >= c) ? 2 * c + 1 - i : 0;
    case 213:
      return (j == c && i <= c) ? i + 1 : 0;
    case 214:
      return (i == j && j >= c) ? 2 * c + 1 - j : 0;
    case 215:
      return (i == j && j <= c) ? j + 1 : 0;
    case 216:
      return (j == n - 1 - i && i >= c) ? 2 * c + 1 - i : 0;
    case 217:
      return (j == n - 1 - i && i <= c) ? i + 1 : 0;
    default:
      return std::nullopt;
  }
}

Expected Reference(int32_t number, int32_t size, int32_t count) {
  if (auto fixed = FixedReference().find(number); fixed != FixedReference().end()) {
    if (count != static_cast<int32_t>(fixed->second.weights.size())) return {};
    return fixed->second;
  }
  if (!ReferenceWeight(number, 3, 0, 0) || size < 1) return {};
  const int32_t elements = size * size;
  if (number == 100 ? count != elements : count < elements) return {};
  Expected expected;
  for (int32_t i = 0; i < size; ++i) {
    for (int32_t j = 0; j < size; ++j) expected.weights.push_back(*ReferenceWeight(number, size, i, j));
  }
  expected.result = 0;
  for (int32_t w : expected.weights) expected.result += w;
  return expected;
}

class KernelLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = std::make_unique<DynamicLibrary>(ExecutableFolder() + "/mvfilters.so");
    ASSERT_TRUE(library_->IsLoaded()) << library_->Error();
    getFilter_ = library_->Function<GetFilterFunction>("GetFilter");
    ASSERT_NE(getFilter_, nullptr);
  }

  // Calls GetFilter on an array of `count` sentinels; checks the reference count is given back.
  std::pair<int32_t, TMaskArray> Call(int32_t number, int32_t size, int32_t count) {
    TMaskArray weights(count);
    std::fill(weights.begin(), weights.end(), kUntouched);
    const int32_t result = getFilter_(number, size, weights.Data());
    EXPECT_EQ(weights.RefCount(), 1) << "number " << number;
    EXPECT_EQ(weights.Count(), count);
    return {result, std::move(weights)};
  }

  std::unique_ptr<DynamicLibrary> library_;
  GetFilterFunction* getFilter_ = nullptr;
};

TEST_F(KernelLibrary, EveryNumberAndSizeMatchesTheReference) {
  int checkedKernels = 0;
  for (int32_t number = -20; number <= 320; ++number) {
    for (int32_t size = -1; size <= 9; ++size) {
      const int32_t square = size * size;
      for (int32_t count : {0, 1, 8, 9, 10, 17, 18, 19, square - 1, square, square + 1, square + 7}) {
        if (count < 0) continue;
        const Expected expected = Reference(number, size, count);
        auto [result, weights] = Call(number, size, count);
        ASSERT_EQ(result, expected.result) << number << " N=" << size << " count=" << count;
        for (int32_t k = 0; k < count; ++k) {
          const int32_t want = k < static_cast<int32_t>(expected.weights.size())
                                   ? expected.weights[static_cast<std::size_t>(k)]
                                   : kUntouched;
          ASSERT_EQ(weights[static_cast<std::size_t>(k)], want)
              << number << " N=" << size << " count=" << count << " element " << k;
        }
        if (result != 0) ++checkedKernels;
      }
    }
  }
  EXPECT_GT(checkedKernels, 500);
}

TEST_F(KernelLibrary, WorkedExamples) {
  auto [gauss3, g3] = Call(101, 3, 9);
  EXPECT_EQ(gauss3, 7248);
  EXPECT_EQ(std::vector<int32_t>(g3.begin(), g3.end()), Parse("716 846 716 846 1000 846 716 846 716"));
  auto [gauss5, g5] = Call(101, 5, 25);
  EXPECT_NE(gauss5, 0);
  EXPECT_EQ(g5[0], 449);
  EXPECT_EQ(g5[24], 449);

  auto [half, h5] = Call(210, 5, 25);
  EXPECT_EQ(half, 6);
  EXPECT_EQ(std::vector<int32_t>(h5.begin() + 10, h5.begin() + 15), Parse("0 0 3 2 1"));
  auto [halfLeft, l5] = Call(211, 5, 25);
  EXPECT_EQ(halfLeft, 6);
  EXPECT_EQ(std::vector<int32_t>(l5.begin() + 10, l5.begin() + 15), Parse("1 2 3 0 0"));

  auto [anti, a3] = Call(203, 3, 9);
  EXPECT_EQ(anti, 3);
  EXPECT_EQ(std::vector<int32_t>(a3.begin(), a3.end()), Parse("0 0 1 0 1 0 1 0 0"));

  auto [box, b3] = Call(100, 3, 9);
  EXPECT_EQ(box, 9);
  EXPECT_EQ(Call(100, 3, 10).first, 0);
  auto [sobel, s18] = Call(6, 0, 18);
  EXPECT_EQ(sobel, 1);
  EXPECT_EQ(s18[3], 2);
  EXPECT_EQ(s18[10], 2);
}

TEST_F(KernelLibrary, RefusalsWriteNothing) {
  // A pair into a 3x3 array, a generated kernel into a short array (the library must not write
  // past the caller's array), unknown numbers and sizes below 1.
  for (auto [number, size, count] : {std::tuple{6, 0, 9},
                                     {200, 5, 24},
                                     {217, 9, 80},
                                     {101, 41, 1680},
                                     {20, 3, 9},
                                     {102, 3, 9},
                                     {205, 3, 9},
                                     {100, 0, 0},
                                     {101, 0, 9},
                                     {200, -3, 9}}) {
    auto [result, weights] = Call(number, size, count);
    EXPECT_EQ(result, 0) << number;
    for (int32_t w : weights) ASSERT_EQ(w, kUntouched) << number;
  }
  EXPECT_EQ(getFilter_(1, 3, nullptr), 0);
}

TEST_F(KernelLibrary, LargeGaussianHasTheExpectedShape) {
  auto [result, g] = Call(101, 41, 41 * 41);
  int64_t sum = 0;
  for (int32_t w : g) sum += w;
  EXPECT_EQ(result, sum);
  EXPECT_EQ(g[20 * 41 + 20], 1000);
  EXPECT_EQ(g[0], static_cast<int32_t>(std::trunc(std::exp(-800.0L / 82.0L) * 1000.0L)));
}

}  // namespace
}  // namespace mv
