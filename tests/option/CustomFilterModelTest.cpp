// The custom filter's preview (the program's filter rule and raster operations on the test
// pattern) and the name file it leaves for the program.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "option/FilterNameFile.h"
#include "option/FilterPreview.h"
#include "platform/Pixel.h"

namespace mv {
namespace {

Pixel At(const Bitmap& b, int x, int y) {
  return reinterpret_cast<const Pixel*>(b.Row(y))[x];
}

CustomFilterSettings Kernel(std::array<int32_t, 9> weights, double divisor = 1, int32_t offset = 0) {
  CustomFilterSettings s;
  s.weights = weights;
  s.divisor = divisor;
  s.offset = offset;
  return s;
}

TEST(FilterPreview, TheIdentityKernelLeavesThePatternAsItIs) {
  const Bitmap pattern = TestPattern();
  const FilterPreview preview = PreviewCustomFilter(pattern, CustomFilterSettings{});
  EXPECT_TRUE(preview.failure.empty());
  EXPECT_EQ(preview.picture, pattern);
}

TEST(FilterPreview, ALaplacianWithOffsetMakesFlatAreasMidGrey) {
  const Bitmap pattern = TestPattern();
  const FilterPreview preview =
      PreviewCustomFilter(pattern, Kernel({-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1, 128));
  // The middle of the red patch and the corner pixel (its border is padded) are flat.
  EXPECT_EQ(At(preview.picture, 40, 40), (Pixel{128, 128, 128}));
  EXPECT_EQ(At(preview.picture, 63, 63), (Pixel{128, 128, 128}));
  // Across the checkerboard's edges it is not.
  EXPECT_NE(At(preview.picture, 3, 35), (Pixel{128, 128, 128}));
}

TEST(FilterPreview, TheResultIsDrawnOverThePreparedAreaByTheCopyMode) {
  const Bitmap pattern = TestPattern();
  const CustomFilterSettings sharpen = Kernel({0, -1, 0, -1, 5, -1, 0, -1, 0});
  const Bitmap result = PreviewCustomFilter(pattern, sharpen).picture;
  ASSERT_FALSE(result.IsEmpty());

  // OR over black is the result itself.
  CustomFilterSettings orOverBlack = sharpen;
  orOverBlack.preparation = kPrepareBlack;
  orOverBlack.copyMode = rop::kSrcPaint;
  EXPECT_EQ(PreviewCustomFilter(pattern, orOverBlack).picture, result);

  // AND over white too; XOR over the unprepared pattern is the bitwise difference.
  CustomFilterSettings andOverWhite = sharpen;
  andOverWhite.preparation = kPrepareWhite;
  andOverWhite.copyMode = rop::kSrcAnd;
  EXPECT_EQ(PreviewCustomFilter(pattern, andOverWhite).picture, result);
  CustomFilterSettings xorOverPattern = sharpen;
  xorOverPattern.copyMode = rop::kSrcInvert;
  const Bitmap xored = PreviewCustomFilter(pattern, xorOverPattern).picture;
  for (const auto& [x, y] : {std::pair{0, 0}, {20, 10}, {40, 5}, {10, 50}, {50, 50}}) {
    const Pixel p = At(pattern, x, y), r = At(result, x, y), d = At(xored, x, y);
    EXPECT_EQ(d, (Pixel{uint8_t(p.blue ^ r.blue), uint8_t(p.green ^ r.green), uint8_t(p.red ^ r.red)}));
  }

  CustomFilterSettings whiteness = sharpen;
  whiteness.copyMode = rop::kWhiteness;
  EXPECT_EQ(At(PreviewCustomFilter(pattern, whiteness).picture, 31, 17), (Pixel{255, 255, 255}));
}

TEST(FilterPreview, ADivisorOfZeroOrAnOverflowingWeightIsAFailureNotAPicture) {
  const Bitmap pattern = TestPattern();
  const FilterPreview byZero = PreviewCustomFilter(pattern, Kernel({0, 0, 0, 0, 1, 0, 0, 0, 0}, 0));
  EXPECT_TRUE(byZero.picture.IsEmpty());
  EXPECT_FALSE(byZero.failure.empty());
  const FilterPreview huge = PreviewCustomFilter(pattern, Kernel({0, 0, 0, 0, 99999999, 0, 0, 0, 0}));
  EXPECT_TRUE(huge.picture.IsEmpty());
  EXPECT_FALSE(huge.failure.empty());
}

TEST(FilterPresetsAndOperations, NamesAreUniqueAndSourceCopyComesFirst) {
  ASSERT_FALSE(RasterOperations().empty());
  EXPECT_EQ(RasterOperations()[0].code, rop::kSrcCopy);
  std::set<uint32_t> codes;
  for (const RasterOperation& operation : RasterOperations()) codes.insert(operation.code);
  EXPECT_EQ(codes.size(), RasterOperations().size());
  // Every preset keeps a flat area flat at its own level (its weights over the divisor sum to one)
  // or maps it to its offset (they sum to zero).
  for (const FilterPreset& preset : FilterPresets()) {
    int sum = 0;
    for (const int32_t w : preset.weights) sum += w;
    EXPECT_TRUE(sum == preset.divisor || (sum == 0 && preset.offset >= 0)) << preset.name;
  }
}

class FilterNameFileTest : public ::testing::Test {
 protected:
  FilterNameFileTest() {
    char pattern[] = "/tmp/mirvane-name-XXXXXX";
    folder_ = mkdtemp(pattern);
  }
  ~FilterNameFileTest() override { std::filesystem::remove_all(folder_); }
  std::string Read() const {
    std::ifstream in(folder_ + "/~filter.tmp", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::string folder_;
};

TEST_F(FilterNameFileTest, TheNameIsTheFirstLineInUtf8) {
  WriteFilterNameFile(folder_, "輪郭 強調");
  EXPECT_EQ(Read(), "輪郭 強調\r\n");
  WriteFilterNameFile(folder_, "two\r\nlines\n");
  EXPECT_EQ(Read(), "two  lines \r\n");
  WriteFilterNameFile(folder_, "");
  EXPECT_EQ(Read(), "\r\n");
}

TEST_F(FilterNameFileTest, AFolderThatCannotBeWrittenIsAnError) {
  EXPECT_THROW(WriteFilterNameFile(folder_ + "/missing", "x"), std::runtime_error);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/missing"));
}

}  // namespace
}  // namespace mv
