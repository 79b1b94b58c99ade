// The overlay of pb1: the figures, the calibration line and the selection outline drawn from the
// measurement data at the zoom factor, the line colour chosen on the colour panels, and redrawing.

#include "measure/MeasureCommands.h"
#include "measure/Overlay.h"
#include "shell/TForm1.h"

namespace mv {

void MeasureCommands::DrawFigures(Canvas& canvas) {
  const Extended zoom = form.view.ZoomFactor;
  for (std::size_t i = 0; i < form.measurements.Figures.size(); ++i) {
    const TFigure& figure = form.measurements.Figures[i];
    canvas.SetPenColor(figure.Color);
    canvas.SetBrushStyle(BrushStyle::Clear);
    DrawMarkers(canvas, figure.Points, zoom);
    // A polygon being picked for resumption shows open, as its input will continue.
    const bool resuming = form.Tag == kPickFigureToResume && static_cast<int64_t>(i) == input.CurrentFigure;
    DrawPolyline(canvas, figure.Points, figure.Kind == kPolygon && !resuming, zoom);
  }
  if (!form.measurements.CalibrationPoints.empty()) {
    canvas.SetPenColor(form.measurements.CalibrationColor);
    canvas.SetBrushStyle(BrushStyle::Clear);
    DrawMarkers(canvas, form.measurements.CalibrationPoints, zoom);
    DrawPolyline(canvas, form.measurements.CalibrationPoints, true, zoom);
  }
  // Always on pb1, whatever canvas was given: the outline is never written into an image.
  form.DrawSelectionOutline();
}

void MeasureCommands::Panel9Click(const ColorPanel& sender) {
  ChooseLineColor(sender);
}

void MeasureCommands::ChooseLineColor(const ColorPanel& panel) {
  form.SetMessage("線の色を" + panel.hint + "に変更しました");
  form.controls.label2Color = panel.color;
  if (TFigure* figure = CurrentFigure()) figure->Color = panel.color;
  DrawFigures(form.area.pb1Canvas());
}

void MeasureCommands::R1Click() {
  form.RefreshImageArea();
}

void MeasureCommands::N50Click() {
  if (!form.menus.Get("N9").enabled) return;
  N9Click();
  form.menus.Click("R1");
}

}  // namespace mv
