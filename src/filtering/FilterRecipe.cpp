#include "filtering/FilterRecipe.h"

#include "filtering/BorderPadding.h"
#include "filtering/KernelFetch.h"
#include "filtering/NeighbourhoodPass.h"

namespace mv {

std::optional<FetchedKernel> FetchRecipeKernel(const FilterRecipe& recipe, const std::string& programFolder,
                                               Feedback& feedback) {
  FetchedKernel kernel{TMaskArray(recipe.elements), 0};
  const int32_t fetched =
      FetchKernel(programFolder, recipe.kernelNumber, recipe.size, kernel.weights, feedback);
  if (fetched == 0) return std::nullopt;
  if (recipe.adjust) recipe.adjust(kernel.weights);
  kernel.divisor = recipe.divisor ? recipe.divisor(fetched) : fetched;
  return kernel;
}

std::optional<Bitmap> RunRecipePass(const FilterRecipe& recipe, const FetchedKernel& kernel, Bitmap padded,
                                    const PassReporting& reporting, Feedback& feedback) {
  PassSettings settings;
  settings.radius = recipe.radius;
  settings.caption = reporting.caption;
  settings.showProgress = reporting.showProgress;
  settings.quiet = reporting.quiet;
  return RunNeighbourhoodPass(std::move(padded), *recipe.filter, kernel.weights.Elements(), kernel.divisor,
                              recipe.parameter, settings, feedback);
}

std::optional<Bitmap> FilterRegion(const FilterRecipe& recipe, const FetchedKernel& kernel,
                                   const Bitmap& region, const PassReporting& reporting, Feedback& feedback) {
  std::optional<Bitmap> padded = PadBorder(region, recipe.radius);
  if (!padded) return std::nullopt;
  return RunRecipePass(recipe, kernel, std::move(*padded), reporting, feedback);
}

}  // namespace mv
