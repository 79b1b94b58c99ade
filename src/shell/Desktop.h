#pragma once
// Everything the main window core asks of a screen. The Qt window implements it with widgets, the
// macro runner with queued answers, unit tests with a small fake. Nothing of the core touches a
// screen any other way.
//
// The interface is complete for every command of the program; an implementation that cannot offer
// a service answers as a user who cancelled would (the defaults below do so for the dialogs whose
// models arrive with their commands).

#include <optional>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "platform/Feedback.h"
#include "platform/Geometry.h"

namespace mv {

class OptionLibrary;
class TPNGOpt;  // the option-and-preview dialog's model, owned by the command showing it
class TRGBRes;  // the RGB decomposition dialog's model
class TForm3;   // the progress dialog's model

enum class FileDialogKind { Open, Save, LogFile };

// Options of the file dialogs, combined with |.
enum FileDialogOption : unsigned {
  kHideReadOnly = 1,
  kPathMustExist = 2,
  kFileMustExist = 4,
  kOverwritePrompt = 8,
  kEnableSizing = 16,
};

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;       // empty: the desktop's own title for the kind
  std::string filter;      // "description|pattern|description|pattern…", patterns joined by ';'
  int filterIndex = 1;     // 1-based; 0 = the dialog's default
  std::string initialDir;  // may also be a file path: the dialog starts in its folder
  std::string fileName;
  std::string defaultExt;  // without the dot
  unsigned options = 0;
  bool picturePreview = false;  // the picture dialogs show a preview of the chosen file
};

struct FileDialogResult {
  std::string path;
  int filterIndex = 1;  // the filter in force when the user confirmed
};

struct HelpRequest {
  enum class Command { Contents, Finder, Topic };
  std::string file;  // full path of the help file
  Command command = Command::Contents;
  std::string topic;  // for Topic
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // A modal message box; the answer is one of `buttons`. Help buttons open help with the context.
  virtual BoxButton ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons,
                                   int helpContext) = 0;

  // The open, save and log-file dialogs; nullopt when cancelled.
  virtual std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) = 0;

  // The option-and-preview dialog and the RGB decomposition dialog, shown modally on models the
  // commands own (their FormShow has run); true when closed with OK, after the OK handler
  // (TPNGOpt::BitBtn1Click) ran; the model then holds the choices.
  virtual bool ShowOptionDialog(TPNGOpt& /*model*/) { return false; }
  virtual bool ShowRgbDialog(TRGBRes& /*model*/) { return false; }
  // The standard colour dialog; nullopt when cancelled.
  virtual std::optional<ColorRef> ShowColorDialog(ColorRef initial) = 0;

  // Shows a popup menu of the model (the colour-depth menu) at the pointer.
  virtual void ShowPopupMenu(const std::string& menuName) = 0;

  // The progress dialog, shown on its model TForm3 (caption, bar, Cancel): modeless, always on top,
  // centred on the main window, client area TForm3::kClientSize. Show when the operation starts it,
  // Update after each step (re-read the caption and bar), Hide when Cancel hid it or the operation
  // ends. The widget's Cancel button and Esc call model.BitBtn1Click(); the pointer over the body
  // calls model.FormMouseMove(), over the button model.BitBtn1MouseMove().
  virtual void ShowProgressDialog(TForm3& model) = 0;
  virtual void UpdateProgressDialog(TForm3& model) = 0;
  virtual void HideProgressDialog(TForm3& model) = 0;
  // Handles pending input (repaints, the Cancel button) between an operation's steps.
  virtual void ProcessPendingEvents() = 0;

  // Clipboard. Copy puts a 24-bit bitmap there. ClipboardBitmap answers the clipboard's image in
  // any format (the core makes pasted pictures 24-bit), nullopt when it holds none; only then is
  // ClipboardMetafile asked: a vector picture (SVG, standing in for a metafile) rendered at its
  // natural size on white, nullopt when there is none either.
  virtual void SetClipboardBitmap(const Bitmap& bitmap) = 0;
  virtual std::optional<Bitmap> ClipboardBitmap() = 0;
  virtual std::optional<Bitmap> ClipboardMetafile() = 0;

  // Screen capture.
  virtual Rect VirtualDesktopRect() = 0;
  virtual std::optional<Rect> ForegroundWindowRect() = 0;  // nullopt when the display server tells none
  // The screen's pixels of `area` (virtual-desktop coordinates), 24-bit; an empty bitmap where the
  // display server refuses to give them.
  virtual Bitmap CaptureScreen(const Rect& area) = 0;
  virtual Size ScreenSize() = 0;

  virtual void ShowHelp(const HelpRequest& request) = 0;

  virtual void SetScreenCursor(Cursor cursor) = 0;
  virtual void SetImageAreaCursor(Cursor cursor) = 0;

  // The main window.
  virtual void SetWindowOpacity(std::optional<int> alpha) = 0;  // nullopt: opaque (no blending)
  // Whether a window's opacity is seen on this desktop (an X11 desktop shows it only while a
  // compositing manager runs).
  virtual bool ShowsWindowOpacity() { return true; }
  virtual void SetAlwaysOnTop(bool onTop) = 0;
  virtual void MinimizeApplication() = 0;
  virtual void RestoreApplication() = 0;
  virtual bool IsMaximized() = 0;
  virtual void SetMaximized(bool maximized) = 0;
  virtual Rect WindowBounds() = 0;  // outer bounds on the screen
  virtual void SetWindowBounds(const Rect& bounds) = 0;
  virtual int WindowClientWidth() = 0;
  // The client size of the scroll box scb1: the visible part of the image area.
  virtual Size ImageAreaClientSize() = 0;
  // The window has agreed to close (FormClose allowed it).
  virtual void CloseWindow() = 0;

  // Timer1, 500 ms. While enabled the desktop calls TForm1::TimerFired at every interval.
  virtual void SetTimerEnabled(bool enabled) = 0;

  // The pointer's position in image-area (content) coordinates.
  virtual Point PointerPosition() = 0;

  // The viewport surface changed: show it again.
  virtual void RepaintImageArea() = 0;

  // The loader of option.so for this program.
  virtual OptionLibrary& GetOptionLibrary() = 0;
};

}  // namespace mv
