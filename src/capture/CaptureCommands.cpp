#include "capture/CaptureCommands.h"

#include <algorithm>

#include "platform/ScopeGuard.h"
#include "shell/TForm1.h"

namespace mv {

std::optional<Rect> ClipToScreen(const Rect& area, const Rect& screen) {
  const Rect clipped{std::max(area.left, screen.left), std::max(area.top, screen.top),
                     std::min(area.right, screen.right), std::min(area.bottom, screen.bottom)};
  if (clipped.Width() <= 0 || clipped.Height() <= 0) return std::nullopt;
  return clipped;
}

CaptureCommands::CaptureCommands(TForm1& form) : form(form) {
  form.menus.Add("N4", MakeMenu("N63", "画面のキャプチャ(&D)"));
  form.menus.Add("N63", MakeMenuItem("D3", "デスクトップ(&A)", [this] { D3Click(); }));
  form.menus.Add("N63",
                 MakeMenuItem("MirvaneP1", "Mirvaneを含むデスクトップ(&P)", [this] { MirvaneP1Click(); }));
  form.menus.Add("N63", MakeMenuItem("W7", "アクティブウィンドウ(&W)", [this] { W7Click(); }));
  form.menus.Add("N63", MakeMenuItem("MirvaneS1", "Mirvane自身(&S)", [this] { MirvaneS1Click(); }));
  form.performCapture = [this] { Capture(); };
}

void CaptureCommands::D3Click() {
  StartCapture(kCaptureDesktop, false);
}

void CaptureCommands::MirvaneP1Click() {
  StartCapture(kCaptureDesktop, true);
}

void CaptureCommands::W7Click() {
  StartCapture(kCaptureForeground, false);
}

void CaptureCommands::MirvaneS1Click() {
  StartCapture(kCaptureForeground, true);
}

bool CaptureCommands::StartCapture(int32_t kind, bool includeSelf) {
  if (!form.ConfirmDiscard()) return false;
  restartCache_ = !form.ReadNotDeleteForCopy();
  if (!includeSelf) form.desktop.MinimizeApplication();
  form.Timer1Tag = kind;
  form.SetTimerEnabled(true);
  return true;
}

void CaptureCommands::Capture() {
  const int32_t kind = form.Timer1Tag;
  form.Timer1Tag = kCaptureNone;
  form.SetTimerEnabled(false);
  {
    // The window comes back whatever became of the picture.
    const ScopeExit restore([this] { form.desktop.RestoreApplication(); });
    TakePicture(kind);
  }
  form.StepZoom(0);
}

std::optional<Rect> CaptureCommands::SourceArea(int32_t kind) {
  const Rect screen = form.desktop.VirtualDesktopRect();
  if (kind == kCaptureDesktop) return ClipToScreen(screen, screen);
  const std::optional<Rect> window = form.desktop.ForegroundWindowRect();
  return window ? ClipToScreen(*window, screen) : std::nullopt;
}

void CaptureCommands::TakePicture(int32_t kind) {
  const std::optional<Rect> area = SourceArea(kind);
  if (!area) {
    form.desktop.ShowMessageBox(BoxKind::Error, "\r\n前面のウィンドウを取得できませんでした", kOK, 0);
    return;
  }
  Bitmap shot = form.desktop.CaptureScreen(*area);
  if (shot.IsEmpty()) {
    form.desktop.ShowMessageBox(BoxKind::Error, "\r\n画面をキャプチャできませんでした", kOK, 0);
    return;
  }
  if (shot.Format() != PixelFormat::Bgr24) shot = shot.ToBgr24();
  if (restartCache_) form.ClearUndo();
  form.image.Replace(std::move(shot));
  // A captured picture comes from no file, so the confirm-discard check asks before it goes.
  form.controls.sb1Hint.clear();
  form.EnableImageCommands(true);
  form.RecordUndo();
}

}  // namespace mv
