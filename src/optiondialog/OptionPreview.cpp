#include "optiondialog/OptionPreview.h"

#include "colour/ApplyColorFunction.h"
#include "filtering/BitmapArithmetic.h"
#include "filtering/ColorFilters.h"
#include "filtering/MosaicBlocks.h"
#include "filtering/TwoDirectionEdges.h"
#include "filtering/UnsharpMask.h"

namespace mv {

namespace {

const PassReporting kQuiet{"", false, true};

// The filtered picture ORed over the base colour (grey while the panel reads "無し").
void OverBaseColour(Bitmap& filtered, std::optional<ColorRef> base) {
  const ColorRef colour = base.value_or(MakeColor(128, 128, 128));
  const uint8_t channels[3] = {BlueOf(colour), GreenOf(colour), RedOf(colour)};
  for (int y = 0; y < filtered.Height(); ++y) {
    uint8_t* row = filtered.Row(y);
    for (int i = 0; i < 3 * filtered.Width(); ++i) row[i] |= channels[i % 3];
  }
}

std::optional<Bitmap> ColourPreview(const ModeSetup& mode, const PreviewInput& input, Feedback& feedback) {
  const std::optional<ColourCall> call =
      ColourCallFor(mode.mode, input.choices, input.previewPoint, 1.0 / input.f);
  Bitmap preview = input.thumbnail;
  ApplyColorFunction(preview, *call->func, "", false, call->mode, call->params, call->value, feedback);
  return preview;
}

std::optional<Bitmap> FilterPreview(const ModeSetup& mode, const PreviewInput& input, Feedback& feedback) {
  const FilterRecipe recipe = *FilterRecipeFor(mode.mode, input.choices, input.f);
  const std::optional<FetchedKernel> kernel = FetchRecipeKernel(recipe, input.programFolder, feedback);
  if (!kernel) return std::nullopt;
  if (mode.preview == PreviewKind::Unsharp) {
    UnsharpSteps steps;
    steps.variant = mode.mode == 101 ? UnsharpVariant::UnsharpMask : UnsharpVariant::EdgeDetection;
    steps.coefficient = input.choices.slider2 / 10.0;
    return UnsharpMask(input.thumbnail, recipe, *kernel, steps, feedback);
  }
  std::optional<Bitmap> filtered = FilterRegion(recipe, *kernel, input.thumbnail, kQuiet, feedback);
  if (!filtered) return std::nullopt;
  if (mode.preview == PreviewKind::Emboss) OverBaseColour(*filtered, input.choices.colour);
  if (mode.preview == PreviewKind::Edges) {
    EdgeFinish finish;
    finish.variant = mode.mode == 10 ? EdgeVariant::LineArt : EdgeVariant::EdgeEnhancement;
    finish.kernelNumber = recipe.kernelNumber;
    finish.coefficient = input.choices.slider2 / 10.0;
    return FinishEdges(std::move(*filtered), input.thumbnail, finish, feedback);
  }
  return filtered;
}

}  // namespace

std::optional<Bitmap> ComputePreview(const ModeSetup& mode, const PreviewInput& input, Feedback& feedback) {
  switch (mode.preview) {
    case PreviewKind::ColourFunction:
      return ColourPreview(mode, input, feedback);
    case PreviewKind::Neighbourhood:
    case PreviewKind::Emboss:
    case PreviewKind::Edges:
    case PreviewKind::Unsharp:
      return FilterPreview(mode, input, feedback);
    case PreviewKind::Blocks: {
      BlockSettings settings;
      settings.blockSize = input.choices.slider1;
      return MosaicBlocks(input.thumbnail, TMozaicFilter(), settings, feedback);
    }
    case PreviewKind::None:
      break;
  }
  return input.thumbnail;
}

}  // namespace mv
