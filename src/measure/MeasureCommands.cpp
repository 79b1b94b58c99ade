// The measurement subsystem's construction and the small pieces its handlers share.

#include "measure/MeasureCommands.h"

#include "shell/TForm1.h"

namespace mv {

MeasureCommands::MeasureCommands(TForm1& form) : form(form) {
  RegisterMenus();
}

TFigure* MeasureCommands::CurrentFigure() {
  std::vector<TFigure>& figures = form.measurements.Figures;
  const int32_t index = input.CurrentFigure;
  return index >= 0 && static_cast<std::size_t>(index) < figures.size()
             ? &figures[static_cast<std::size_t>(index)]
             : nullptr;
}

Axis MeasureCommands::CheckedAxis() const {
  if (form.menus.IsChecked("N28")) return Axis::Horizontal;
  if (form.menus.IsChecked("N30")) return Axis::Vertical;
  return Axis::None;
}

void MeasureCommands::ShowGuidance(const std::string& text) {
  if (!form.settings.ToolMessages) form.desktop.ShowMessageBox(BoxKind::Information, text, kOK, 0);
}

Point MeasureCommands::ViewOfPoint(const TFigurePoint& point) const {
  return ViewPosition(point, form.view.ZoomFactor);
}

}  // namespace mv
