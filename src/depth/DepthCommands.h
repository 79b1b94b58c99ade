#pragma once
// The colour depth of the whole working image: "24bit" (N24bit1) and "8bit" (N8bit1), the radio
// items of the status bar's colour-depth menu PopupMenu2, whose opening handler checks the one
// status panel 4 names. 8 bits are reached through the GIF writer's quantizer: an optimised palette
// of at most 256 colours and Floyd-Steinberg error diffusion.

#include "shell/Subsystem.h"

namespace mv {

class TForm1;

class DepthCommands : public Subsystem {
 public:
  explicit DepthCommands(TForm1& form);

  // Each does nothing when its item is checked already; otherwise it converts the picture, records
  // the converted picture for undo, checks its item and shows the depth in status panel 4.
  void N24bit1Click();
  void N8bit1Click();

 private:
  TForm1& form;
};

}  // namespace mv
