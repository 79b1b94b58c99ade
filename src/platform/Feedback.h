#pragma once
// What a long or failing operation needs to tell the user: message boxes, the message line, the
// cursor and the progress dialog. The main window implements it over its desktop; tests record
// what they were given. Lower layers (filtering, colour) depend on this and nothing of the shell.

#include <memory>
#include <string>

namespace mv {

enum class BoxKind { Error, Warning, Information, Confirmation, Plain };

// Buttons of a message box; a box offers a combination (OR) and answers with one of them.
enum BoxButton : unsigned { kOK = 1, kCancel = 2, kYes = 4, kNo = 8, kHelp = 16 };
using BoxButtons = unsigned;

enum class Cursor { Default, Hourglass, Cross, Arrow };

// The modeless progress dialog (TForm3) as an operation sees it. Cancel hides it; the operation
// notices before its next step because IsVisible() turns false.
class ProgressDialog {
 public:
  virtual ~ProgressDialog() = default;
  // Shows the dialog with this caption, the bar at 0 and the given maximum (one step per row).
  virtual void Start(const std::string& caption, int maximum) = 0;
  virtual bool IsVisible() const = 0;
  // Advances the bar by one step.
  virtual void StepIt() = 0;
};

class Feedback {
 public:
  virtual ~Feedback() = default;
  virtual BoxButton ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons,
                                   int helpContext = 0) = 0;
  // The message line (Label1) of the main window.
  virtual void SetMessage(const std::string& text) = 0;
  virtual void SetCursor(Cursor cursor) = 0;
  // A new progress dialog, not yet shown. It exists until the returned object is destroyed.
  virtual std::unique_ptr<ProgressDialog> CreateProgressDialog() = 0;
  // Lets the desktop handle pending input (repaints, the Cancel button) between steps.
  virtual void ProcessPendingEvents() = 0;
};

// The hourglass from construction, the default cursor again on every way out of the scope.
class BusyCursor {
 public:
  explicit BusyCursor(Feedback& feedback) : feedback_(feedback) { feedback_.SetCursor(Cursor::Hourglass); }
  ~BusyCursor() { feedback_.SetCursor(Cursor::Default); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Feedback& feedback_;
};

}  // namespace mv
