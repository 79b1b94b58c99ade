#pragma once
// The filter menu "フィルタ処理(&P)" (P2): eleven neighbourhood filters run in the filter command
// frame (FilterFrame.h) with their dialog modes, recipes and captions, and the custom filter N55,
// whose 3 x 3 kernel comes from the option library's dialog; and the menu's enabler.

#include <array>
#include <cstdint>
#include <string>

#include "shell/Subsystem.h"

namespace mv {

class TForm1;

class FilterCommands : public Subsystem {
 public:
  explicit FilterCommands(TForm1& form);

  void P2Click();    // the menu opens: every item enabled with a picture and transparency mode off
  void F1Click();    // softening (mode 5)
  void D2Click();    // error diffusion (mode 14)
  void A3Click();    // averaging (mode 6)
  void N53Click();   // rank filter (mode 9)
  void V2Click();    // box blur (mode 100)
  void G1Click();    // Gaussian blur (mode 16)
  void S5Click();    // sharpening (mode 18)
  void S3Click();    // unsharp mask (mode 101)
  void N2V1Click();  // edge enhancement (mode 11)
  void E3Click();    // edge detection (mode 102)
  void L1Click();    // line art (mode 10)
  void N55Click();   // custom filter (the option library's dialog)

  // The custom filter's pass over the processing rectangle: the 3 x 3 weights, the offset added
  // after division by the divisor, the caption of its messages, the preparation (1 white, 2 black,
  // other none) and the raster operation that draws the result. True when the image changed; a
  // pass without a result prepares, draws and records nothing.
  bool CustomPass(const std::array<int32_t, 9>& weights, int32_t offset, const std::string& caption,
                  int32_t preparation, uint32_t copyMode, double divisor);

 private:
  void RegisterMenu();
  // The pass of a 3 x 3 filter over the padded copy, its caption fixed.
  void SimpleFilter(int mode, const char* caption, bool padBeforeDialog = true);
  void EdgePass(int variant);        // 0 line art, 1 edge enhancement
  void UnsharpRoutine(int variant);  // 1 unsharp mask, 2 edge detection

  TForm1& form;
};

}  // namespace mv
