#pragma once
// The desktop of the window program: everything the core asks of a screen, done with Qt widgets on
// the main window (message boxes, file and colour dialogs, popup menus, the progress dialog, the
// clipboard, screen capture, help, cursors, window state, Timer1, the pointer and repaints).

#include <QElapsedTimer>
#include <QPointer>
#include <Qt>
#include <map>
#include <optional>

#include "optionlib/DynamicOptionLibrary.h"
#include "shell/Desktop.h"

namespace mv {

class MainWindow;
class ProgressWindow;

class QtDesktop : public Desktop {
 public:
  QtDesktop(MainWindow& window, const std::string& programFolder);
  ~QtDesktop() override;

  BoxButton ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons,
                           int helpContext) override;
  std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) override;
  bool ShowOptionDialog(TPNGOpt& model) override;
  bool ShowRgbDialog(TRGBRes& model) override;
  std::optional<ColorRef> ShowColorDialog(ColorRef initial) override;
  void ShowPopupMenu(const std::string& menuName) override;

  void ShowProgressDialog(TForm3& model) override;
  void UpdateProgressDialog(TForm3& model) override;
  void HideProgressDialog(TForm3& model) override;
  void ProcessPendingEvents() override;

  void SetClipboardBitmap(const Bitmap& bitmap) override;
  std::optional<Bitmap> ClipboardBitmap() override;
  std::optional<Bitmap> ClipboardMetafile() override;

  Rect VirtualDesktopRect() override;
  std::optional<Rect> ForegroundWindowRect() override;
  Bitmap CaptureScreen(const Rect& area) override;
  Size ScreenSize() override;

  void ShowHelp(const HelpRequest& request) override;
  void SetScreenCursor(Cursor cursor) override;
  void SetImageAreaCursor(Cursor cursor) override;

  void SetWindowOpacity(std::optional<int> alpha) override;
  bool ShowsWindowOpacity() override;
  void SetAlwaysOnTop(bool onTop) override;
  void MinimizeApplication() override;
  void RestoreApplication() override;
  bool IsMaximized() override;
  void SetMaximized(bool maximized) override;
  Rect WindowBounds() override;
  void SetWindowBounds(const Rect& bounds) override;
  int WindowClientWidth() override;
  Size ImageAreaClientSize() override;
  void CloseWindow() override;
  void SetTimerEnabled(bool enabled) override;
  Point PointerPosition() override;
  void RepaintImageArea() override;
  OptionLibrary& GetOptionLibrary() override { return modalOptionLibrary_; }

 private:
  // Modal dialogs show the window as the model stands and the normal pointer while they are open.
  class ModalScope;
  // The option library whose dialogs open as the core's own do, inside a ModalScope.
  class ModalOptionSession;
  class ModalOptionLibrary : public OptionLibrary {
   public:
    explicit ModalOptionLibrary(QtDesktop& desktop) : desktop_(desktop) {}
    std::unique_ptr<OptionSession> Load() override;

   private:
    QtDesktop& desktop_;
  };
  void ApplyCursor();

  MainWindow& window_;
  std::string programFolder_;
  DynamicOptionLibrary optionLibrary_;
  ModalOptionLibrary modalOptionLibrary_{*this};
  std::map<const TForm3*, QPointer<ProgressWindow>> progressWindows_;
  std::optional<Qt::CursorShape> screenCursor_;  // nullopt: the widgets' own cursors
  int modalDepth_ = 0;
  QElapsedTimer pendingEvents_;  // since pending events were last handled
  bool overrideSet_ = false;
};

}  // namespace mv
