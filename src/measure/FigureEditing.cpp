// Editing figures: picking a vertex, moving a point, resuming and recalculating a figure, aborting a
// tool, undoing the latest point, keyed-in coordinates and the axis constraint.

#include <algorithm>
#include <cmath>

#include "measure/MeasureCommands.h"
#include "measure/Overlay.h"
#include "optionlib/OptionLibrary.h"
#include "shell/TForm1.h"

namespace mv {

void MeasureCommands::ReportFigure(const TFigure& figure) {
  if (figure.Kind == kPolyline) {
    ShowLengthResult(figure.Points);
  } else {
    ShowAreaResult(figure.Points);
  }
}

void MeasureCommands::DeleteCurrentFigure() {
  if (TFigure* figure = CurrentFigure()) figure->Points.clear();
  CompactFigures();
  form.RefreshImageArea();
  form.SetMessage("図形を消去しました");
}

// Aborting input in mode 1 or 2: a new figure goes; a resumed one loses only the points added since
// its input resumed, so no figure that existed before is lost.
void MeasureCommands::AbandonFigureInput() {
  TFigure* figure = CurrentFigure();
  if (figure == nullptr) return;
  std::vector<TFigure>& figures = form.measurements.Figures;
  if (input.ResumedPointCount < 0) {
    figures.erase(figures.begin() + input.CurrentFigure);
  } else if (figure->Points.size() > static_cast<std::size_t>(input.ResumedPointCount)) {
    figure->Points.resize(static_cast<std::size_t>(input.ResumedPointCount));
  }
}

void MeasureCommands::PickFigure(Point at, int32_t mode) {
  if (!PickVertex(at.x, at.y, mode)) return;
  if (mode == kPickFigureToResume) return;  // input continues in mode 1 or 2
  const ScopeExit idle([this] { form.Tag = kSelectionMode; });
  if (mode == kPickFigureToDelete) {
    DeleteCurrentFigure();
  } else if (const TFigure* figure = CurrentFigure()) {
    ReportFigure(TFigure(*figure));
  }
}

bool MeasureCommands::PickVertex(int x, int y, int32_t mode) {
  const Extended zoom = form.view.ZoomFactor;
  const auto near = [&](double value, int viewPosition) {
    return std::fabs(zoom * value - viewPosition) < 5;
  };
  for (std::size_t f = 0; f < form.measurements.Figures.size(); ++f) {
    const FigurePoints& points = form.measurements.Figures[f].Points;
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (!near(points[i].X, x) || !near(points[i].Y, y)) continue;
      input.CurrentPoint = CheckedInt32(static_cast<int64_t>(i));
      input.CurrentFigure = CheckedInt32(static_cast<int64_t>(f));
      input.RubberEnd = ViewOfPoint(points[i]);
      if (mode == kMovePoint) {
        Canvas& canvas = form.area.pb1Canvas();
        canvas.SetPenMode(PenMode::NotCopy);
        DrawMarker(canvas, input.RubberEnd);
        form.SetMessage("点を移動して、新しい場所で左クリックしてください");
        return true;
      }
      // Input of the picked figure continues at its end.
      const TFigure& figure = form.measurements.Figures[f];
      const auto count = static_cast<int64_t>(figure.Points.size());
      input.ResumedPointCount = CheckedInt32(count);
      if (figure.Kind == kPolyline) {
        form.Tag = kPolylineInput;
      } else {
        form.RefreshImageArea();  // while the mode is still the picking mode, so the polygon shows open
        DrawFigures(form.area.pb1Canvas());
        form.Tag = kPolygonInput;
      }
      input.CurrentPoint = CheckedInt32(count - 1);
      input.RubberEnd = {x, y};
      // The band from the last point to the pick is shown, so the first move erases a line that is
      // there instead of leaving one.
      const Point last = ViewOfPoint(points[static_cast<std::size_t>(count - 1)]);
      Canvas& canvas = form.area.pb1Canvas();
      canvas.SetPenMode(PenMode::Not);
      canvas.MoveTo(last.x, last.y);
      canvas.LineTo(x, y);
      form.SetMessage(IntToStr(static_cast<int64_t>(f) + 1) +
                      (figure.Kind == kPolyline ? "番目の多直線の距離：" : "番目の多角形：") +
                      IntToStr(count + 1) + "番目の点をクリックしてください");
      return true;
    }
  }
  return false;
}

void MeasureCommands::ApplyMovedPoint(int x, int y) {
  TFigure* figure = CurrentFigure();
  const int32_t p = input.CurrentPoint;
  if (figure != nullptr && p >= 0 && static_cast<std::size_t>(p) < figure->Points.size()) {
    const Point end = ConstrainedEnd(input.RubberEnd, {x, y}, CheckedAxis());
    figure->Points[static_cast<std::size_t>(p)] = ImagePosition(end, form.view.ZoomFactor);
  }
  input.CurrentPoint = -1;
  input.CurrentFigure = -1;
  form.Tag = kSelectionMode;
  form.menus.SetChecked(form.menus.Get("N29"), false);
  form.RefreshImageArea();
  form.SetMessage("点を移動しました");
}

void MeasureCommands::N29Click() {
  // A point picked earlier and left behind (a move ended by the middle button) must not be moved by
  // the click meant to pick the next one.
  if (form.Tag != kMovePoint) {
    input.CurrentFigure = -1;
    input.CurrentPoint = -1;
  }
  form.SetMessage("修正する点をクリックしてください");
  form.Tag = kMovePoint;
}

void MeasureCommands::Q1Click() {
  if (form.Tag == kPolylineInput || form.Tag == kPolygonInput) AbandonFigureInput();
  if (form.Tag == kCalibration) form.measurements.CalibrationPoints.clear();
  input.CurrentFigure = -1;
  input.CurrentPoint = -1;
  input.ResumedPointCount = -1;
  form.Tag = kSelectionMode;
  form.desktop.SetScreenCursor(Cursor::Default);
  form.desktop.SetImageAreaCursor(Cursor::Default);
  form.RefreshImageArea();
  form.SetMessage("処理を中止しました");
  form.EnableImageCommands(true);
}

void MeasureCommands::U1Click() {
  if (input.CurrentFigure == -1) {
    if (form.measurements.Figures.empty()) return;
    input.CurrentFigure = CheckedInt32(static_cast<int64_t>(form.measurements.Figures.size()) - 1);
  }
  TFigure* figure = CurrentFigure();
  if (figure == nullptr) return;
  const std::size_t n = figure->Points.size();
  if (n == 1) {
    input.RubberEnd = {0, 0};
    figure->Points.clear();
    CompactFigures();
    // The same tool starts again on a fresh figure, without its guidance box.
    const ValueScope<bool> quiet(form.settings.ToolMessages, true);
    if (form.Tag == kPolylineInput) N10Click();
    if (form.Tag == kPolygonInput) N15Click();
  } else if (n >= 2) {
    input.RubberEnd = ViewOfPoint(figure->Points[n - 2]);
    figure->Points.resize(n - 2);
    input.CurrentPoint -= 1;
    input.ResumedPointCount = std::min<int32_t>(input.ResumedPointCount, static_cast<int32_t>(n - 1));
    AddPoint(input.RubberEnd.x, input.RubberEnd.y);
  }
  form.RefreshImageArea();
}

void MeasureCommands::S2Click() {
  form.Tag = kPickFigureToResume;
  input.CurrentFigure = -1;
  input.CurrentPoint = -1;
  const char* text = "計算を再開したい図形の頂点をクリックしてください";
  ShowGuidance(text);
  form.SetMessage(text);
  form.desktop.SetImageAreaCursor(Cursor::Cross);
}

void MeasureCommands::N21Click() {
  input.CurrentFigure = -1;
  input.CurrentPoint = -1;
  if (form.measurements.Figures.size() == 1 && !form.measurements.Figures.front().Points.empty()) {
    const ScopeExit idle([this] { form.Tag = kSelectionMode; });
    ReportFigure(TFigure(form.measurements.Figures.front()));
    return;
  }
  form.Tag = kPickFigureToRecalculate;
  const char* text = "再計算したい図形の頂点をクリックしてください";
  ShowGuidance(text);
  form.SetMessage(text);
  form.desktop.SetImageAreaCursor(Cursor::Cross);
}

void MeasureCommands::N49Click() {
  form.WithOptionLibrary([&](OptionSession& library) {
    const Point chosen = library.GetPointAndSize({form.image.Width(), form.image.Height()}, 0);
    if (chosen == Point{-1, -1}) {
      form.SetMessage("座標入力をキャンセルしました");
      return;
    }
    if (chosen == Point{-2, -2}) {
      form.SetMessage("座標入力フォームでエラーが発生");
      return;
    }
    // Modes 0, 1 and 2 take it as a click there; modes 3 and 4 as the wave effect's centre, which
    // the effect takes from the same click.
    if (form.Tag < kSelectionMode || form.Tag > kStrangeWaveCentre) return;
    MouseEvent click;
    click.button = MouseButton::Left;
    click.x = RoundToInt32(static_cast<Extended>(chosen.x) * form.view.ZoomFactor);
    click.y = RoundToInt32(static_cast<Extended>(chosen.y) * form.view.ZoomFactor);
    form.pb1MouseDown(click);
  });
}

void MeasureCommands::N28Click() {
  MenuItem& item = form.menus.Get("N28");
  form.menus.SetChecked(item, !item.checked);
}

void MeasureCommands::N30Click() {
  MenuItem& item = form.menus.Get("N30");
  form.menus.SetChecked(item, !item.checked);
}

}  // namespace mv
