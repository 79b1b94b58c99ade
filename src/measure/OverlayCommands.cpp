// The overlay of pb1: the figures, the calibration line and the selection outline drawn from the
// measurement data at the zoom factor, the line colour chosen on the colour panels, and redrawing.

#include "measure/MeasureForm.h"
#include "measure/Overlay.h"

namespace mv {

void TForm1::DrawFigures(Canvas& canvas) {
  const Extended zoom = view.ZoomFactor;
  for (std::size_t i = 0; i < measure.Figures.size(); ++i) {
    const TFigure& figure = measure.Figures[i];
    canvas.SetPenColor(figure.Color);
    canvas.SetBrushStyle(BrushStyle::Clear);
    DrawMarkers(canvas, figure.Points, zoom);
    // A polygon being picked for resumption shows open, as its input will continue.
    const bool resuming = Tag == -4 && static_cast<int64_t>(i) == measure.CurrentFigure;
    DrawPolyline(canvas, figure.Points, figure.Kind == kPolygon && !resuming, zoom);
  }
  if (!measure.CalibrationPoints.empty()) {
    canvas.SetPenColor(measure.CalibrationColor);
    canvas.SetBrushStyle(BrushStyle::Clear);
    DrawMarkers(canvas, measure.CalibrationPoints, zoom);
    DrawPolyline(canvas, measure.CalibrationPoints, true, zoom);
  }
  // Always on pb1, whatever canvas was given: the outline is never written into an image.
  DrawSelectionOutline();
}

void TForm1::Panel9Click(const ColorPanel& sender) {
  ChooseLineColor(sender);
}

void TForm1::ChooseLineColor(const ColorPanel& panel) {
  SetMessage("線の色を" + panel.hint + "に変更しました");
  controls.label2Color = panel.color;
  if (TFigure* figure = measure.Current()) figure->Color = panel.color;
  DrawFigures(area.pb1Canvas());
}

void TForm1::R1Click() {
  RefreshImageArea();
}

void TForm1::N50Click() {
  if (!menus.Get("N9").enabled) return;
  N9Click();
  menus.Click("R1");
}

}  // namespace mv
