#pragma once
// The main window as lower layers see it (Feedback): boxes go to the desktop, messages to the
// message line, progress dialogs are TForm3 models the desktop shows, and pending events are handled
// with the image area shown as it stands, as the window would repaint it.

#include "platform/Feedback.h"

namespace mv {

class TForm1;

class FormFeedback : public Feedback {
 public:
  explicit FormFeedback(TForm1& form) : form_(form) {}
  BoxButton ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons,
                           int helpContext) override;
  void SetMessage(const std::string& text) override;
  void SetCursor(Cursor cursor) override;
  std::unique_ptr<ProgressDialog> CreateProgressDialog() override;
  void ProcessPendingEvents() override;

 private:
  TForm1& form_;
};

}  // namespace mv
