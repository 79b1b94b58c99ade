#include "optiondialog/FilterRecipes.h"

#include "filtering/ColorFilters.h"
#include "filtering/TwoDirectionEdges.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

const TCustomFilter kCustom;
const TLineArtFilter kLineArt;
const TMedianFilter kMedian;
const TErrorDiffusionFilter kErrorDiffusion;

// An N x N kernel with the fetch's result as divisor, r = N div 2 unless given.
FilterRecipe Square(int32_t number, int32_t n, int32_t radius) {
  FilterRecipe recipe;
  recipe.kernelNumber = number;
  recipe.size = n;
  recipe.elements = n * n;
  recipe.radius = radius;
  recipe.filter = &kCustom;
  return recipe;
}

FilterRecipe ThreeByThree(int32_t number, const TColorFilter& filter) {
  FilterRecipe recipe = Square(number, 3, 1);
  recipe.filter = &filter;
  return recipe;
}

// Softening's kernel 12: corners + 2s, edge neighbours + 3s, centre - 20s (the sum stays 1000).
FilterRecipe Softening(int32_t s) {
  FilterRecipe recipe = ThreeByThree(12, kCustom);
  recipe.adjust = [s](TMaskArray& k) {
    for (std::size_t i : {0u, 2u, 6u, 8u}) k[i] += 2 * s;
    for (std::size_t i : {1u, 3u, 5u, 7u}) k[i] += 3 * s;
    k[4] -= 20 * s;
  };
  return recipe;
}

FilterRecipe Averaging(int32_t s) {
  FilterRecipe recipe = ThreeByThree(1, kCustom);
  recipe.adjust = [s](TMaskArray& k) { k[4] = 1 - s; };
  recipe.divisor = [s](int32_t) { return 9.0 - s; };
  return recipe;
}

FilterRecipe Sharpening(int32_t choice, int32_t s) {
  FilterRecipe recipe = ThreeByThree(18 + choice, kCustom);
  recipe.adjust = [s](TMaskArray& k) { k[4] -= s; };
  recipe.divisor = [s](int32_t fetched) { return static_cast<double>(fetched) - s; };
  return recipe;
}

FilterRecipe Edges(int32_t choice, int32_t evaluation) {
  const int32_t k = EdgeKernelNumber(choice);
  if (k >= 9) return ThreeByThree(k, kCustom);
  FilterRecipe recipe = ThreeByThree(k, kLineArt);
  recipe.elements = 18;
  recipe.parameter = evaluation;
  return recipe;
}

}  // namespace

int ScaledSize(int s, double f) {
  const Extended scaled = static_cast<Extended>(s) * f;
  return scaled >= 1 ? static_cast<int>(TruncTowardZero(scaled)) + 1 : 1;
}

std::optional<FilterRecipe> FilterRecipeFor(int mode, const DialogChoices& c, std::optional<double> scale) {
  const auto blurSize = [&](int s) { return scale ? ScaledSize(s, *scale) : s; };
  switch (mode) {
    case 5:
      return Softening(c.slider1);
    case 6:
      return Averaging(c.slider1);
    case 7:  // emboss: the kernels -6 … 0
      return ThreeByThree(c.radio1 - 6, kCustom);
    case 9: {  // rank: the (s - 1)-th brightness; the kernel is not read
      FilterRecipe recipe = ThreeByThree(1, kMedian);
      recipe.divisor = [s = c.slider1](int32_t) { return s - 1.0; };
      return recipe;
    }
    case 10:
    case 11:
      return Edges(c.radio1, c.radio2);
    case 14: {  // error diffusion with strength s / 10
      FilterRecipe recipe = ThreeByThree(13 + c.radio1, kErrorDiffusion);
      recipe.divisor = [s = c.slider1](int32_t) { return s / 10.0; };
      return recipe;
    }
    case 16: {
      const int32_t s = blurSize(c.slider1);
      return Square(101, 2 * s + 1, s);
    }
    case 18:
    case 19:
      return Sharpening(c.radio1, c.slider1);
    case 100:
    case 101:
    case 102: {  // the N x N box, N = 2s + 3; its divisor N * N is the fetch's result
      const int32_t s = blurSize(c.slider1);
      return Square(100, 2 * s + 3, s + 1);
    }
    case 200:
      return Square(200 + c.radio1, 2 * c.slider1 + 1, c.slider1);
    case 210:
      return Square(210 + c.radio1, 2 * c.slider1 + 1, c.slider1);
    default:
      return std::nullopt;
  }
}

}  // namespace mv
