// Reporting a finished or picked figure: its length or area on the message line and in an
// information box, and a line for the measurement log when length and area logging is on.

#include "measure/MeasureForm.h"
#include "measure/ResultText.h"

namespace mv {

namespace {

void Report(TForm1& form, const FigurePoints& points, int32_t kind, const std::string& text) {
  const ScopeExit defaultCursor([&form] { form.desktop.SetImageAreaCursor(Cursor::Default); });
  form.SetMessage(text);
  form.desktop.ShowMessageBox(BoxKind::Information, "\r\n" + text, kOK, 0);
  if (form.settings.LogLengthAndArea) form.logs.MeasureLog.push_back(form.BuildLogLine(points, kind));
  form.measure.CurrentPoint = -1;
  form.measure.CurrentFigure = -1;
}

}  // namespace

std::string TForm1::FormatLength(const FigurePoints& points) const {
  return LengthText(points, measure);
}

void TForm1::ShowLengthResult(const FigurePoints& points) {
  Report(*this, points, kPolyline, "多直線の距離= " + FormatLength(points));
}

void TForm1::ShowAreaResult(const FigurePoints& points) {
  Report(*this, points, kPolygon, AreaText(points, measure));
}

}  // namespace mv
