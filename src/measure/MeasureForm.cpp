#include "measure/MeasureForm.h"

namespace mv {

Axis CheckedAxis(const TForm1& form) {
  if (form.menus.IsChecked("N28")) return Axis::Horizontal;
  if (form.menus.IsChecked("N30")) return Axis::Vertical;
  return Axis::None;
}

void ShowGuidance(TForm1& form, const std::string& text) {
  if (!form.settings.ToolMessages) form.desktop.ShowMessageBox(BoxKind::Information, text, kOK, 0);
}

Point ViewOfPoint(const TForm1& form, const TFigurePoint& point) {
  return ViewPosition(point, form.view.ZoomFactor);
}

}  // namespace mv
