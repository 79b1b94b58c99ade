#pragma once
// What every dialog of the library needs: a QApplication (the program's, or one made for the
// duration of the call when the host has none), the window it opens over, OK and Cancel buttons
// captioned as the program's other dialogs are, and a guard that keeps exceptions inside.

#include <memory>

class QApplication;
class QDialog;
class QDialogButtonBox;
class QWidget;

namespace mv {

class ApplicationScope {
 public:
  ApplicationScope();
  ~ApplicationScope();
  ApplicationScope(const ApplicationScope&) = delete;
  ApplicationScope& operator=(const ApplicationScope&) = delete;

 private:
  std::unique_ptr<QApplication> own_;
};

// The program's active window (or, when none is active, its shown main window), over which a dialog
// opens; nullptr when there is none.
QWidget* HostWindow();

// Adds "OK" and "キャンセル" at the bottom of `dialog`'s layout, wired to accept and reject. The
// buttons' object names are "ok" and "cancel".
QDialogButtonBox* AddOkCancel(QDialog& dialog);

// Runs `body` with a QApplication present. Nothing may cross the C interface: any exception gives
// `onError`.
template <typename Result, typename Body>
Result Guarded(Result onError, Body&& body) noexcept {
  try {
    const ApplicationScope application;
    return body();
  } catch (...) {
    return onError;
  }
}

}  // namespace mv
