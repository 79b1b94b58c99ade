#pragma once
// The neighbourhood filter each filter and effect mode of the option dialog sets up from its
// choices: the same recipe for the command and for its preview (one rule for both).

#include <optional>

#include "filtering/FilterRecipe.h"
#include "optiondialog/DialogChoices.h"

namespace mv {

// Dialog `mode`'s recipe, none for a mode without one. Without `thumbnailScale` the sizes are the
// command's; with it (f, the thumbnail's size over the processed size) the blur sizes of modes 16
// and 100-102 are scaled to the thumbnail as the previews scale them (ScaledSize).
//   5 softening, 6 averaging, 7 emboss, 9 rank, 10/11 line art and edge enhancement (the edge pairs
//   up to kernel 8, Laplacians from 9), 14 error diffusion, 16 Gaussian blur, 18/19 sharpening,
//   100 box blur, 101/102 the box of the unsharp mask and edge detection, 200 motion blur, 210 wind.
std::optional<FilterRecipe> FilterRecipeFor(int mode, const DialogChoices& choices,
                                            std::optional<double> thumbnailScale = std::nullopt);

// The size s of a blur slider as the thumbnail sees it: trunc(s * f) + 1 when s * f >= 1, else 1.
int ScaledSize(int s, double f);

}  // namespace mv
