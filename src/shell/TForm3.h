#pragma once
// The progress dialog TForm3 as a model: caption, bar (maximum, position, step), visibility and the
// Cancel button. A long operation creates one (Feedback::CreateProgressDialog), starts it, checks
// IsVisible() before each row and steps it after each row; the desktop shows the widget while the
// model is visible and hands the widget's events back (BitBtn1Click for Cancel and Esc, the mouse
// moves for the cursors). The dialog exists, for the image area's hourglass, from construction
// until the operation destroys it.

#include <string>

#include "platform/Feedback.h"
#include "platform/Geometry.h"

namespace mv {

class Desktop;

class TForm3 : public ProgressDialog {
 public:
  // `openDialogs` counts this dialog while it exists (the main window's note that one is up).
  TForm3(Desktop& desktop, int& openDialogs);
  ~TForm3() override;
  TForm3(const TForm3&) = delete;
  TForm3& operator=(const TForm3&) = delete;

  // The operation's side.
  void Start(const std::string& caption, int maximum) override;
  bool IsVisible() const override { return visible_; }
  void StepIt() override;

  // The widget's events.
  void BitBtn1Click();      // Cancel (also Esc): hides the dialog
  void FormMouseMove();     // over the dialog's body: hourglass
  void BitBtn1MouseMove();  // over the Cancel button: arrow

  // What the widget shows.
  const std::string& Caption() const { return caption_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  int Step() const { return step_; }

  // Layout: client area, ProgressBar1 and the Cancel button BitBtn1 (right and bottom exclusive).
  static constexpr Size kClientSize{234, 79};
  static constexpr Rect kProgressBar1{8, 16, 8 + 217, 16 + 25};
  static constexpr Rect kBitBtn1{72, 48, 72 + 89, 48 + 25};
  static constexpr const char* kDefaultCaption = "進捗状況";

 private:
  Desktop& desktop_;
  int& openDialogs_;
  std::string caption_ = kDefaultCaption;
  int max_ = 100;
  int position_ = 0;
  int step_ = 1;
  bool visible_ = false;
};

}  // namespace mv
