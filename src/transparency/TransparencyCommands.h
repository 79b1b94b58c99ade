#pragma once
// Transparency mode: "透過モード(&T)" (A1, menu "その他(&O)") and the side bar's BitBtn8 make the main
// window see-through (its opacity from the option library's GetAlphaBlendVal) over a plain 8-bit
// background as large as the screen (its grey level from TransBackColor), so the measuring tools can
// be used on what lies behind the window. A1's check mark is the mode; the window's opacity, its
// always-on-top style and eight disabled commands change with it.

#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"
#include "shell/Subsystem.h"

namespace mv {

class TForm1;

class TransparencyCommands : public Subsystem {
 public:
  explicit TransparencyCommands(TForm1& form);

  void A1Click();  // enters the mode when its mark is off, leaves it otherwise
  void BitBtn8Click();

  // The window's opacity while the mode is on (255 until the first answer of GetAlphaBlendVal).
  int32_t AlphaBlendValue() const { return alphaBlendValue_; }

 private:
  void Enter();
  void Leave();
  // The commands the mode holds back: open, save, the Edit menu, binarization, undo, the binarized
  // area, the zoom submenu and writing figures into the picture.
  void EnableHeldBackCommands(bool enabled);

  TForm1& form;
  int32_t alphaBlendValue_ = 255;
  bool opacityNoticeShown_ = false;
};

// The mode's background: an 8-bit picture of `size` whose pixels are all `value`, with the grey
// palette (entry i is grey i). RangeError for a value outside 0 ... 255.
Bitmap TransparencyBackground(Size size, int32_t value);

}  // namespace mv
