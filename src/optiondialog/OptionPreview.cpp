#include "optiondialog/OptionPreview.h"

#include "colour/ApplyColorFunction.h"
#include "filtering/BorderPadding.h"
#include "filtering/ColorFilters.h"
#include "filtering/KernelFetch.h"
#include "filtering/NeighbourhoodPass.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

// A neighbourhood filter as a command sets it up from the dialog's choices.
struct FilterRecipe {
  int32_t kernelNumber = 1;
  int32_t size = 3;  // N: the kernel is N x N (or 18 elements for the edge pairs)
  int32_t elements = 9;
  int32_t radius = 1;
  const TColorFilter* filter = nullptr;
  int32_t parameter = 0;
  // The kernel adjusted after the fetch, and the divisor from the fetch's result.
  void (*adjust)(TMaskArray& kernel, int32_t s) = nullptr;
  double (*divisor)(int32_t fetched, int32_t s) = nullptr;
  int32_t s = 0;
};

const TCustomFilter kCustom;
const TLineArtFilter kLineArt;
const TMedianFilter kMedian;
const TErrorDiffusionFilter kErrorDiffusion;

double Fetched(int32_t fetched, int32_t) {
  return fetched;
}

FilterRecipe SquareKernel(int32_t number, int32_t n, int32_t radius) {
  return FilterRecipe{number, n, n * n, radius, &kCustom, 0, nullptr, Fetched, 0};
}

std::optional<FilterRecipe> RecipeFor(int mode, const DialogChoices& c, double f) {
  switch (mode) {
    case 5:  // softening: corners + 2s, edges + 3s, centre - 20s
      return FilterRecipe{12,
                          3,
                          9,
                          1,
                          &kCustom,
                          0,
                          [](TMaskArray& k, int32_t s) {
                            for (std::size_t i : {0u, 2u, 6u, 8u}) k[i] += 2 * s;
                            for (std::size_t i : {1u, 3u, 5u, 7u}) k[i] += 3 * s;
                            k[4] -= 20 * s;
                          },
                          Fetched,
                          c.slider1};
    case 6:  // averaging: centre 1 - s, divisor 9 - s
      return FilterRecipe{1,
                          3,
                          9,
                          1,
                          &kCustom,
                          0,
                          [](TMaskArray& k, int32_t s) { k[4] = 1 - s; },
                          [](int32_t, int32_t s) { return 9.0 - s; },
                          c.slider1};
    case 9:  // rank: the (s - 1)-th brightness
      return FilterRecipe{1,        3, 9, 1, &kMedian, 0, nullptr, [](int32_t, int32_t s) { return s - 1.0; },
                          c.slider1};
    case 14:  // error diffusion with strength s / 10
      return FilterRecipe{13 + c.radio1,    3, 9,       1,
                          &kErrorDiffusion, 0, nullptr, [](int32_t, int32_t s) { return s / 10.0; },
                          c.slider1};
    case 16: {  // Gaussian blur
      const int32_t s = ScaledSize(c.slider1, f);
      return SquareKernel(101, 2 * s + 1, s);
    }
    case 18:
    case 19:  // sharpening: centre - s, divisor fetched - s
      return FilterRecipe{18 + c.radio1,
                          3,
                          9,
                          1,
                          &kCustom,
                          0,
                          [](TMaskArray& k, int32_t s) { k[4] -= s; },
                          [](int32_t fetched, int32_t s) { return static_cast<double>(fetched) - s; },
                          c.slider1};
    case 100: {  // box blur
      const int32_t s = ScaledSize(c.slider1, f);
      return SquareKernel(100, 2 * s + 3, s + 1);
    }
    case 200:  // motion blur
      return SquareKernel(200 + c.radio1, 2 * c.slider1 + 1, c.slider1);
    case 210:  // wind
      return SquareKernel(210 + c.radio1, 2 * c.slider1 + 1, c.slider1);
    case 7:  // emboss
      return SquareKernel(c.radio1 - 6, 3, 1);
    case 10: {  // line art: the edge pairs up to kernel 8, a 3 x 3 kernel from 9 on
      const int32_t k = c.radio1 + 2;
      if (k <= 8) return FilterRecipe{k, 3, 18, 1, &kLineArt, c.radio2, nullptr, Fetched, 0};
      return SquareKernel(k, 3, 1);
    }
    default:
      return std::nullopt;
  }
}

std::optional<Bitmap> RunRecipe(const FilterRecipe& recipe, const Bitmap& thumbnail,
                                const std::string& programFolder, Feedback& feedback) {
  TMaskArray kernel(recipe.elements);
  const int32_t fetched = FetchKernel(programFolder, recipe.kernelNumber, recipe.size, kernel, feedback);
  if (fetched == 0) return std::nullopt;
  if (recipe.adjust != nullptr) recipe.adjust(kernel, recipe.s);
  std::optional<Bitmap> padded = PadBorder(thumbnail, recipe.radius);
  if (!padded) return std::nullopt;
  PassSettings settings;
  settings.radius = recipe.radius;
  settings.quiet = true;
  return RunNeighbourhoodPass(std::move(*padded), *recipe.filter, kernel.Elements(),
                              recipe.divisor(fetched, recipe.s), recipe.parameter, settings, feedback);
}

void Invert(Bitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.Row(y);
    for (int i = 0; i < 3 * bitmap.Width(); ++i) row[i] = static_cast<uint8_t>(255 - row[i]);
  }
}

// The filtered picture ORed over the base colour (grey while the panel reads "無し").
void OverBaseColour(Bitmap& filtered, std::optional<ColorRef> base) {
  const ColorRef colour = base.value_or(MakeColor(128, 128, 128));
  const uint8_t channels[3] = {BlueOf(colour), GreenOf(colour), RedOf(colour)};
  for (int y = 0; y < filtered.Height(); ++y) {
    uint8_t* row = filtered.Row(y);
    for (int i = 0; i < 3 * filtered.Width(); ++i) row[i] |= channels[i % 3];
  }
}

}  // namespace

int ScaledSize(int s, double f) {
  const Extended scaled = static_cast<Extended>(s) * f;
  return scaled >= 1 ? static_cast<int>(TruncTowardZero(scaled)) + 1 : 1;
}

std::optional<Bitmap> ComputePreview(const ModeSetup& mode, const PreviewInput& input, Feedback& feedback) {
  switch (mode.preview) {
    case PreviewKind::ColourFunction: {
      const Point centre = input.previewPoint;
      std::optional<ColourCall> call = ColourCallFor(mode.mode, input.choices, centre, 1.0 / input.f);
      Bitmap preview = input.thumbnail;
      ApplyColorFunction(preview, *call->func, "", false, call->mode, call->params, call->value, feedback);
      return preview;
    }
    case PreviewKind::Neighbourhood:
    case PreviewKind::Emboss:
    case PreviewKind::LineArt: {
      std::optional<Bitmap> filtered = RunRecipe(*RecipeFor(mode.mode, input.choices, input.f),
                                                 input.thumbnail, input.programFolder, feedback);
      if (filtered && mode.preview == PreviewKind::Emboss) OverBaseColour(*filtered, input.choices.colour);
      if (filtered && mode.preview == PreviewKind::LineArt) Invert(*filtered);  // dark lines on white
      return filtered;
    }
    case PreviewKind::NotYetAvailable:
      // Edge enhancement (11), the unsharp mask and edge detection (101, 102) need the filter
      // commands' bitmap arithmetic, mosaic (20) the effects' block engine; their previews are computed
      // here with those routines once the commands exist. Until then: the thumbnail as it is.
    case PreviewKind::None:
      break;
  }
  return input.thumbnail;
}

}  // namespace mv
