#pragma once
// The special-effects menu "特殊効果(&T)" (T1): emboss, the hidden colour pencil, motion blur and wind
// (neighbourhood filters in the filter command frame), mosaic (the block engine) and the two waves,
// whose centre the user clicks on the image (tool modes 3 and 4); and the menu's enabler.

#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "platform/Geometry.h"
#include "shell/InputTypes.h"
#include "shell/Subsystem.h"

namespace mv {

class TForm1;

class EffectCommands : public Subsystem {
 public:
  explicit EffectCommands(TForm1& form);

  void T1Click();      // the menu opens: every item enabled with a picture and transparency mode off
  void E1Click();      // emboss (mode 7)
  void W2Click();      // colour pencil (mode 10); its item is hidden
  void BlurB1Click();  // motion blur (mode 200)
  void W5Click();      // wind (mode 210)
  void N59Click();     // mosaic (mode 20)
  void W6Click();      // wave: the centre is asked for (tool mode 3)
  void N60Click();     // strange wave (tool mode 4)

  // Tool mode 3 or 4 until the centre is clicked; the items that would change the picture's
  // geometry or leave it are disabled meanwhile.
  void RequestWaveCentre(int32_t toolMode);
  // The wave of the pending request centred on the view position (x, y); the disabled items come
  // back on every path.
  void ApplyWave(int x, int y);

 private:
  void RegisterMenu();
  void WaveMouseDown(const MouseEvent& event);
  // A request the tool mode no longer shows (aborted, undone) gives the disabled items back.
  void NoticeAbandonedRequest();

  TForm1& form;
  int32_t pendingWave_ = 0;  // the tool mode of a request whose items are disabled; 0 none
};

// Emboss's picture: the processing rectangle filled with the base colour (its outline drawn with the
// canvas's black pen), the filtered picture ORed over it.
Bitmap EmbossOverBaseColour(const Bitmap& filtered, ColorRef base);

// Colour pencil's picture in the processing rectangle `rect` of the working image, `region` being
// that rectangle's pixels: the rectangle inverted, outlined in white and hatched with black lines
// from lower left to upper right (aligned to the working image), ANDed with the filtered picture and
// inverted again.
Bitmap PencilOverRegion(const Bitmap& filtered, const Bitmap& region, const Rect& rect);

}  // namespace mv
