#include "shell/FormFeedback.h"

#include "shell/TForm1.h"
#include "shell/TForm3.h"

namespace mv {

BoxButton FormFeedback::ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons,
                                       int helpContext) {
  return form_.desktop.ShowMessageBox(kind, text, buttons, helpContext);
}

void FormFeedback::SetMessage(const std::string& text) {
  form_.SetMessage(text);
}

void FormFeedback::SetCursor(Cursor cursor) {
  form_.desktop.SetScreenCursor(cursor);
}

std::unique_ptr<ProgressDialog> FormFeedback::CreateProgressDialog() {
  return std::make_unique<TForm3>(form_.desktop, form_.ProgressDialogs);
}

void FormFeedback::ProcessPendingEvents() {
  form_.UpdateImageArea();
  form_.desktop.ProcessPendingEvents();
}

}  // namespace mv
