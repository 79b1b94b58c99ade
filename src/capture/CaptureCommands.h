#pragma once
// Screen capture: the submenu "画面のキャプチャ(&D)" (N63) of the Edit menu copies the desktop or the
// window in front into a new working image. A command arms Timer1 (the window minimised first unless
// it is to be in the picture); the next tick takes the picture.

#include <cstdint>
#include <optional>

#include "platform/Geometry.h"
#include "shell/Subsystem.h"

namespace mv {

class TForm1;

// Timer1Tag's values.
enum : int32_t { kCaptureNone = 0, kCaptureDesktop = 1, kCaptureForeground = 2 };

class CaptureCommands : public Subsystem {
 public:
  explicit CaptureCommands(TForm1& form);

  void D3Click();         // the desktop, without this window
  void MirvaneP1Click();  // the desktop with this window
  void W7Click();         // the window in front once this one is minimised
  void MirvaneS1Click();  // this window itself (it stays in front)

  // Arms the capture of `kind` after the confirm-discard check; false when that refused.
  bool StartCapture(int32_t kind, bool includeSelf);
  // Timer1Timer's work while a capture is pending: the picture becomes the working image and is
  // recorded for undo; the timer stops, the window is restored and the zoom re-applied. Where the
  // display server names no window in front or gives no pixels, an error box says so and nothing
  // else changes.
  void Capture();

 private:
  // The screen area of `kind` within the virtual desktop; none when there is none to take.
  std::optional<Rect> SourceArea(int32_t kind);
  void TakePicture(int32_t kind);

  TForm1& form;
  // "Not Delete For Copy" was off when the capture was armed: the cache restarts with the picture.
  // It restarts only once a picture was taken, so a capture that fails loses nothing.
  bool restartCache_ = false;
};

// The part of `area` on the virtual desktop `screen`; none when they do not meet.
std::optional<Rect> ClipToScreen(const Rect& area, const Rect& screen);

}  // namespace mv
