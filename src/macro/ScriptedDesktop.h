#pragma once
// The desktop of a macro run: every message box is printed as `box KIND "TEXT"` and answered from
// the queued answers (a box whose only button is OK answers itself); dialogs take their
// answers from the queue too; a dialog that no answer fits ends the run with status 3 after
// `unanswered KIND "TEXT"`. The window's geometry, clipboard, timer and pointer are plain values the
// runner sets.

#include <optional>
#include <ostream>
#include <string>

#include "macro/AnswerQueue.h"
#include "macro/ScriptedOptionLibrary.h"
#include "shell/Desktop.h"
#include "shell/FormControls.h"

namespace mv {

// What the last option-and-preview dialog and the last progress dialog showed (print option,
// print progress).
struct ShownOptionDialog {
  int mode = 0;
  std::string title;
  Size thumbnail;
  double f = 0;
  Point previewPoint;
};
struct ShownProgress {
  std::string caption;
  int maximum = 0;
  int position = 0;
};

class ScriptedDesktop : public Desktop {
 public:
  ScriptedDesktop(std::ostream& out, std::string programFolder);

  AnswerQueue& Answers() { return answers_; }
  // The next open dialog answers `path` before any queued answer ("open PATH"); other file dialogs
  // shown on the way (a save dialog from the confirm-discard check) take queued answers.
  void SetNextOpenAnswer(std::optional<std::string> path) { nextOpen_ = std::move(path); }
  // The scripted screen shows `picture` at its top-left; its size becomes the screen's ("screen PATH").
  void SetScreen(Bitmap picture) { screen_ = std::move(picture); }
  // The outer bounds of the window in front ("foreground X Y W H"), or none ("foreground none").
  // Until set, the main window's own bounds.
  void SetForeground(std::optional<Rect> bounds) {
    foregroundSet_ = true;
    foreground_ = bounds;
  }
  void SetImageAreaSize(Size size) { areaSize_ = size; }
  // The window's client width is the image area's plus the side bar's while `controls` show it.
  void AttachControls(const FormControls& controls) { controls_ = &controls; }
  void SetPointer(Point position) { pointer_ = position; }
  void SetClipboard(std::optional<Bitmap> bitmap) { clipboard_ = std::move(bitmap); }
  // The Cancel of the `dialog`-th progress dialog from now (1: the next) is pressed before row `row`.
  void CancelNextProgressAt(int row, int dialog = 1) {
    cancelRow_ = row;
    cancelDialog_ = dialog;
  }
  bool TimerEnabled() const { return timerEnabled_; }
  const std::optional<ShownOptionDialog>& LastOptionDialog() const { return lastOption_; }
  const std::optional<ShownProgress>& LastProgress() const { return lastProgress_; }
  // The last file dialog shown, as it was asked for; nullopt before any.
  const std::optional<FileDialogRequest>& LastFileDialog() const { return lastFileDialog_; }
  // The main window's state as the program last set it (print window).
  std::optional<int> WindowOpacity() const { return opacity_; }
  bool AlwaysOnTop() const { return onTop_; }
  bool Minimized() const { return minimized_; }

  BoxButton ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons,
                           int helpContext) override;
  std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) override;
  // Answered by `answer option …` and `answer rgb …`, starting from the mode's start values.
  bool ShowOptionDialog(TPNGOpt& model) override;
  bool ShowRgbDialog(TRGBRes& model) override;
  std::optional<ColorRef> ShowColorDialog(ColorRef initial) override;
  void ShowPopupMenu(const std::string&) override {}
  void ShowProgressDialog(TForm3& model) override;
  void UpdateProgressDialog(TForm3& model) override;
  void HideProgressDialog(TForm3& model) override;
  void ProcessPendingEvents() override {}
  void SetClipboardBitmap(const Bitmap& bitmap) override { clipboard_ = bitmap; }
  std::optional<Bitmap> ClipboardBitmap() override { return clipboard_; }
  std::optional<Bitmap> ClipboardMetafile() override { return std::nullopt; }
  Rect VirtualDesktopRect() override;
  std::optional<Rect> ForegroundWindowRect() override { return foregroundSet_ ? foreground_ : bounds_; }
  Bitmap CaptureScreen(const Rect& area) override;
  Size ScreenSize() override;
  void ShowHelp(const HelpRequest&) override {}
  void SetScreenCursor(Cursor) override {}
  void SetImageAreaCursor(Cursor) override {}
  void SetWindowOpacity(std::optional<int> alpha) override { opacity_ = alpha; }
  void SetAlwaysOnTop(bool onTop) override { onTop_ = onTop; }
  void MinimizeApplication() override { minimized_ = true; }
  void RestoreApplication() override { minimized_ = false; }
  bool IsMaximized() override { return maximized_; }
  void SetMaximized(bool maximized) override { maximized_ = maximized; }
  Rect WindowBounds() override { return bounds_; }
  void SetWindowBounds(const Rect& bounds) override { bounds_ = bounds; }
  int WindowClientWidth() override;
  Size ImageAreaClientSize() override { return areaSize_; }
  void CloseWindow() override {}
  void SetTimerEnabled(bool enabled) override { timerEnabled_ = enabled; }
  Point PointerPosition() override { return pointer_; }
  void RepaintImageArea() override {}
  OptionLibrary& GetOptionLibrary() override { return optionLibrary_; }

 private:
  [[noreturn]] void Unanswered(const std::string& kind, const std::string& text);

  static constexpr Size kScreen{1920, 1080};
  std::ostream& out_;
  AnswerQueue answers_;
  ScriptedOptionLibrary optionLibrary_;
  std::optional<std::string> nextOpen_;
  std::optional<Bitmap> screen_;  // none: a 1920 x 1080 gradient
  bool foregroundSet_ = false;
  std::optional<Rect> foreground_;
  std::optional<int> opacity_;
  bool onTop_ = false;
  bool minimized_ = false;
  std::optional<FileDialogRequest> lastFileDialog_;
  Size areaSize_{800, 600};
  const FormControls* controls_ = nullptr;
  Point pointer_{-1, -1};  // off the image area until the script moves the mouse
  std::optional<Bitmap> clipboard_;
  std::optional<int> cancelRow_;
  int cancelDialog_ = 1;
  // The shown progress dialog whose Cancel is pressed once it has taken `shownCancelRow_` steps.
  const TForm3* shownProgress_ = nullptr;
  std::optional<int> shownCancelRow_;
  int shownSteps_ = 0;
  std::optional<ShownOptionDialog> lastOption_;
  std::optional<ShownProgress> lastProgress_;
  Rect bounds_{10, 10, 550, 360};
  bool maximized_ = false;
  bool timerEnabled_ = false;
};

// The word for a box kind in the output: error, warning, info, confirm, plain.
const char* BoxKindWord(BoxKind kind);
// A button's word in answers: OK, Cancel, Yes, No, Help.
const char* BoxButtonWord(BoxButton button);

}  // namespace mv
