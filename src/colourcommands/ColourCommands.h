#pragma once
// The colour menu "色彩変更(&C)" (N35): eleven commands that recolour the processing rectangle pixel by
// pixel through the colour driver, each with its pixel operation, its dialog (the option-and-preview
// dialog in its mode, or the RGB decomposition dialog) and its display name, and the menu's enabler;
// and its submenu "ヒストグラム(&H)" (H2), whose three commands show option.so's histogram dialogs on
// the processing rectangle and run the range they return through the colour driver.

#include <functional>
#include <optional>
#include <string>

#include "optiondialog/DialogChoices.h"
#include "platform/Bitmap.h"
#include "platform/Geometry.h"
#include "shell/Subsystem.h"

namespace mv {

class TForm1;

class ColourCommands : public Subsystem {
 public:
  explicit ColourCommands(TForm1& form);

  void N35Click();    // the menu opens: every item enabled with a picture and transparency mode off
  void N48Click();    // brightness (mode 4)
  void N47Click();    // gamma (mode 2)
  void C1Click();     // contrast (mode 3)
  void RGB1Click();   // per-channel offsets (the RGB decomposition dialog)
  void N44Click();    // grey scale
  void N211Click();   // binarization (mode 8); leaves the white and black counts
  void R2Click();     // inversion
  void RGBE1Click();  // channel exchange
  void S4Click();     // solarization (mode 15)
  void P3Click();     // posterization (mode 13)
  void XORX1Click();  // XOR (mode 17)

  // The histogram submenu (HistogramCommands.cpp)
  void N56Click();  // shows the histogram; changes nothing
  void E2Click();   // stretches lo..hi to 0..255 or squeezes 0..255 into lo..hi
  void W4Click();   // paints the pixels outside lo..hi black or white

  // The colour command frame: the copy of the processing rectangle, `ask` for the call on it (none
  // stops the command), the driver with `name` and the ShowProgress setting, the result drawn back
  // and the working image recorded, also when the run was cancelled; `completed` sees the processed
  // copy and its rectangle after a completed run.
  using Ask = std::function<std::optional<ColourCall>(const Bitmap& copy)>;
  void Recolour(const std::string& name, const Ask& ask,
                const std::function<void(const Bitmap& result, const Rect& rect)>& completed = {});
  // A command whose call comes from the option-and-preview dialog in `mode`.
  void RecolourWithDialog(int mode, const std::string& name,
                          const std::function<void(const Bitmap& result, const Rect& rect)>& completed = {});

 private:
  void RegisterMenu();
  void RegisterHistogramMenu();

  TForm1& form;
};

}  // namespace mv
