#pragma once
// The choices of the option-and-preview dialog as its commands and its previews read them, and the
// colour commands' arguments derived from them (one rule for the command and its preview).

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "colour/ColorFunction.h"
#include "platform/Color.h"
#include "platform/Geometry.h"

namespace mv {

struct DialogChoices {
  int32_t slider1 = 0;
  int32_t slider2 = 0;
  int32_t radio1 = 0;              // RadioGroup1's index (the filter choice)
  int32_t radio2 = 0;              // RadioGroup2's index (the evaluation choice)
  std::optional<ColorRef> colour;  // Panel1's colour; none while it reads "無し"
};

// The option result a command receives.
struct OptionResult {
  bool accepted = false;
  int32_t colour = -1;  // -1: none
  int32_t filterChoice = 0;
  int32_t evaluationChoice = 0;
  int32_t slider1 = 0;
  int32_t slider2 = 0;
};

// One run of the colour driver: the pixel operation and its arguments.
struct ColourCall {
  std::unique_ptr<TColorFunction> func;
  std::vector<int32_t> params;
  double value = 1.0;
  int32_t mode = 0;
};

// The call of the colour command (or wave effect) that dialog `mode` sets up, from its choices; none
// for a mode that sets up no colour call. The waves measure distances from `centre` (in the pixels
// of the bitmap they run on) multiplied by `distanceScale`.
std::optional<ColourCall> ColourCallFor(int mode, const DialogChoices& choices, Point centre = {0, 0},
                                        double distanceScale = 1.0);

}  // namespace mv
