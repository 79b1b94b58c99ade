#pragma once
// The preview of the option-and-preview dialog: the mode's command computed on a fresh copy of the
// thumbnail, quiet and without the progress dialog, by the command's own recipe and routines (the
// bitmap arithmetic, the block engine). Pixel distances of the Gaussian blur (mode 16) and of modes
// 100-102 are scaled to the thumbnail.

#include <optional>
#include <string>

#include "optiondialog/DialogChoices.h"
#include "optiondialog/FilterRecipes.h"
#include "optiondialog/OptionModes.h"
#include "platform/Bitmap.h"
#include "platform/Feedback.h"
#include "platform/Geometry.h"

namespace mv {

struct PreviewInput {
  const Bitmap& thumbnail;
  DialogChoices choices;
  double f = 1.0;              // thumbnail size / processed size
  Point previewPoint{-1, -1};  // the wave centre on the thumbnail
  std::string programFolder;   // where the kernel library is
};

// The preview picture; none when it could not be computed (the kernel library missing, a failed
// pass: the messages have been given and the preview stays as it was).
std::optional<Bitmap> ComputePreview(const ModeSetup& mode, const PreviewInput& input, Feedback& feedback);

}  // namespace mv
