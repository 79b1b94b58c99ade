#include "shell/OptionDialogs.h"

#include "optiondialog/OptionDialogCall.h"
#include "optiondialog/TRGBRes.h"
#include "shell/TForm1.h"

namespace mv {

OptionDialogServices OptionDialogServicesOf(TForm1& form) {
  OptionDialogServices services;
  services.feedback = &form.GetFeedback();
  services.programFolder = form.programFolder;
  services.showHelpTopic = [&form](const std::string& topic) { form.ShowHelpTopic(topic); };
  services.chooseColour = [&form](ColorRef initial) { return form.desktop.ShowColorDialog(initial); };
  return services;
}

OptionResult AskOptions(TForm1& form, const Bitmap& bitmap, int mode, Point point) {
  OptionDialogCall call;
  call.services = OptionDialogServicesOf(form);
  call.messageLine = [&form] { return form.controls.label1; };
  call.show = [&form](TPNGOpt& dialog) { return form.desktop.ShowOptionDialog(dialog); };
  return RunOptionDialog(call, bitmap, mode, point);
}

std::optional<std::array<int32_t, 3>> AskRgbOffsets(TForm1& form, const Bitmap& copy) {
  return RunRgbDialog(
      copy, form.GetFeedback(), [&form](const std::string& topic) { form.ShowHelpTopic(topic); },
      [&form](TRGBRes& dialog) { return form.desktop.ShowRgbDialog(dialog); });
}

}  // namespace mv
