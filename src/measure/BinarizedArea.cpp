// The binarized white/black area (N43, BitBtn11): the colour menu's binarization on the processing
// rectangle, then the white and black pixels it left reported as areas with their shares, in the
// calibrated unit when there is one, and queued for the log when "Two Value Area" is on.

#include "measure/MeasureCommands.h"
#include "measure/ResultText.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

// The tool mode held for the whole command, so the image area takes no selection meanwhile.
constexpr int32_t kBinarizing = kWaveCentre;

// Runs the binarization N211 whenever the binarized-area command runs. Its menu item is enabled only
// by the colour menu's enabler, which has not run when the colour menu was never opened; the handler
// is called directly so the command does not end without a word then.
void Binarize(TForm1& form) {
  const MenuItem* binarization = form.menus.Find("N211");
  if (binarization != nullptr && binarization->onClick) binarization->onClick();
}

}  // namespace

void MeasureCommands::N43Click() {
  form.Tag = kBinarizing;
  const ScopeExit backToSelection([this] { form.Tag = kSelectionMode; });
  Measurements& counts = form.measurements;
  counts.WhiteCount = 0;
  counts.BlackCount = 0;
  Binarize(form);
  const int64_t total = int64_t{counts.WhiteCount} + counts.BlackCount;
  if (total == 0) return;  // cancelled or failed: the binarization has said so

  const std::string white = "白の面積： " + BinarizedAreaText(counts.WhiteCount, total, counts);
  const std::string black = "黒の面積： " + BinarizedAreaText(counts.BlackCount, total, counts);
  form.SetMessage(white + "　" + black);
  form.UpdateImageArea();  // the binarized picture shows behind the box
  // Shown whatever "Tool Message" says: it is the result, not guidance.
  form.desktop.ShowMessageBox(BoxKind::Information, white + "\r\n\r\n" + black, kOK, 0);
  const Rect rect = form.GetProcessingRect();
  if (form.settings.LogTwoValueArea) AddAreaLogLine(counts.WhiteCount, counts.BlackCount, rect);
}

void MeasureCommands::BitBtn11Click() {
  N9Click();
  form.menus.Click("N43");
}

void MeasureCommands::AddAreaLogLine(int32_t whiteCount, int32_t blackCount, const Rect& rect) {
  std::vector<std::string>& log = form.logs.AreaLog;
  if (log.empty()) log.emplace_back(kAreaLogHeader);
  log.push_back(AreaLogLine(whiteCount, blackCount, rect, {form.image.Width(), form.image.Height()},
                            form.measurements, form.controls.sb1Hint, form.logs.Now()));
}

}  // namespace mv
