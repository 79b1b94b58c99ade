#pragma once
// The option-and-preview dialog and the RGB decomposition dialog as the window's commands call them:
// the dialog models of src/optiondialog shown by the window's desktop, with the window's message line,
// boxes, colour dialog, kernel library and help.

#include <array>
#include <cstdint>
#include <optional>

#include "optiondialog/DialogChoices.h"
#include "optiondialog/TPNGOpt.h"
#include "platform/Bitmap.h"
#include "platform/Geometry.h"

namespace mv {

class TForm1;

// What the option-and-preview dialog needs of the window: its feedback, program folder, help and
// colour dialog.
OptionDialogServices OptionDialogServicesOf(TForm1& form);

// The option dialog call: `bitmap`'s thumbnail in dialog `mode`, `point` the wave centre.
OptionResult AskOptions(TForm1& form, const Bitmap& bitmap, int mode, Point point = {0, 0});

// The RGB decomposition dialog on a thumbnail of `copy`: the red, green and blue offsets on OK.
std::optional<std::array<int32_t, 3>> AskRgbOffsets(TForm1& form, const Bitmap& copy);

}  // namespace mv
