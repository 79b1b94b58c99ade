#include "optiondialog/DialogChoices.h"

#include "colour/ColorFunctions.h"

namespace mv {

std::optional<ColourCall> ColourCallFor(int mode, const DialogChoices& choices, Point centre,
                                        double distanceScale) {
  const std::vector<int32_t> none{0, 0, 0};
  switch (mode) {
    case 2:
      return ColourCall{std::make_unique<TGammaCorrection>(), none, choices.slider1 / 100.0, 0};
    case 3:
      return ColourCall{std::make_unique<TContrastChange>(), none, choices.slider1 / 100.0, 0};
    case 4:
      return ColourCall{std::make_unique<TBrightnessChange>(), none, static_cast<double>(choices.slider1), 0};
    case 8:
      return ColourCall{std::make_unique<TBlackAndWhite>(), none, static_cast<double>(choices.slider1),
                        choices.radio2};
    case 13:
      return ColourCall{std::make_unique<TPosterization>(), {choices.slider1}, 1.0, 0};
    case 15:
      return ColourCall{std::make_unique<TSolarization>(),
                        {choices.slider1},
                        static_cast<double>(choices.slider1),
                        choices.radio1};
    case 17:
      return ColourCall{std::make_unique<TXORTrans>(), {choices.slider1}, 1.0, 0};
    case 21:
    case 22:
      return ColourCall{std::make_unique<TSinTrans>(),
                        {centre.x, centre.y, choices.slider1, choices.slider2},
                        distanceScale,
                        mode == 21 ? 0 : 1};
    default:
      return std::nullopt;
  }
}

}  // namespace mv
