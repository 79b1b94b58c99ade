// Reporting a finished or picked figure: its length or area on the message line and in an
// information box, and a line for the measurement log when length and area logging is on.

#include "measure/MeasureCommands.h"
#include "measure/ResultText.h"
#include "shell/TForm1.h"

namespace mv {

void MeasureCommands::Report(const FigurePoints& points, int32_t kind, const std::string& text) {
  const ScopeExit defaultCursor([this] { form.desktop.SetImageAreaCursor(Cursor::Default); });
  form.SetMessage(text);
  form.desktop.ShowMessageBox(BoxKind::Information, "\r\n" + text, kOK, 0);
  if (form.settings.LogLengthAndArea) form.logs.MeasureLog.push_back(BuildLogLine(points, kind));
  input.CurrentPoint = -1;
  input.CurrentFigure = -1;
}

std::string MeasureCommands::FormatLength(const FigurePoints& points) const {
  return LengthText(points, form.measurements);
}

void MeasureCommands::ShowLengthResult(const FigurePoints& points) {
  Report(points, kPolyline, "多直線の距離= " + FormatLength(points));
}

void MeasureCommands::ShowAreaResult(const FigurePoints& points) {
  Report(points, kPolygon, AreaText(points, form.measurements));
}

}  // namespace mv
