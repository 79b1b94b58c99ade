// Point input: starting a polyline or polygon, adding its points with the axis constraint, the
// inverting rubber bands that follow the pointer, finishing a figure, and the tool modes' part of
// pb1's mouse handlers.

#include "measure/MeasureCommands.h"
#include "measure/Overlay.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

// A line with the canvas's pen as it is, without its end pixel.
void Line(Canvas& canvas, Point from, Point to) {
  canvas.MoveTo(from.x, from.y);
  canvas.LineTo(to.x, to.y);
}

}  // namespace

void MeasureCommands::StartFigureInput(int32_t kind) {
  const bool polyline = kind == kPolyline;
  if (!polyline) form.RefreshImageArea();
  form.Tag = kind == kPolyline ? kPolylineInput : kPolygonInput;
  ShowGuidance(polyline ? "多直線（2点以上の点で結んだ直線）の距離を計算します\r\n\r\n"
                          "距離を測りたい経路上でマウスをクリックしてください\r\n"
                          "点の指定を終えるときは、マウスの真ん中ボタンを押してください\r\n\r\n"
                          "下の「OK」を押した後、1点目をクリックしてください"
                        : "多角形の面積を計算します\r\n\r\n"
                          "面積計算をする図形の輪郭上をクリックして、点で囲んでください\r\n"
                          "点の指定を終えるときは、マウスの真ん中ボタンを押してください\r\n\r\n"
                          "下の「OK」を押した後、1点目をクリックしてください");
  form.SetMessage(polyline ? "多直線の距離：1点目をクリックしてください"
                           : "多角形の面積：1点目をクリックしてください");
  form.measurements.Figures.push_back(TFigure{kind, form.controls.label2Color, {}});
  input.CurrentFigure = CheckedInt32(static_cast<int64_t>(form.measurements.Figures.size()) - 1);
  input.CurrentPoint = -1;
  input.ResumedPointCount = -1;
  form.desktop.SetImageAreaCursor(Cursor::Cross);
}

void MeasureCommands::N10Click() {
  StartFigureInput(kPolyline);
}

void MeasureCommands::N15Click() {
  StartFigureInput(kPolygon);
}

void MeasureCommands::BitBtn7Click() {
  N9Click();
  form.menus.Click("N10");
}

void MeasureCommands::BitBtn9Click() {
  N9Click();
  form.menus.Click("N15");
}

void MeasureCommands::AddPoint(int x, int y) {
  TFigure* figure = CurrentFigure();
  if (figure == nullptr) return;
  FigurePoints& points = figure->Points;
  // A constrained point lies on the horizontal or vertical through the previous point's view
  // position, which the rubber band's end keeps.
  const Point end = points.empty() ? Point{x, y} : ConstrainedEnd(input.RubberEnd, {x, y}, CheckedAxis());
  const Point bandEnd = input.RubberEnd;
  points.push_back(ImagePosition(end, form.view.ZoomFactor));
  input.RubberEnd = end;
  const std::size_t n = points.size();
  input.CurrentPoint = CheckedInt32(static_cast<int64_t>(n) - 1);

  Canvas& canvas = form.area.pb1Canvas();
  // A band that does not lie under the new segment (the point was keyed in, not clicked at the
  // pointer) is erased first; one that does is drawn over.
  if (n >= 2 && end != bandEnd) {
    canvas.SetPenMode(PenMode::Not);
    Line(canvas, ViewOfPoint(points[n - 2]), bandEnd);
  }
  DrawMarker(canvas, end);
  if (n >= 2) {
    canvas.SetPenColor(figure->Color);
    canvas.SetPenMode(PenMode::Copy);
    Line(canvas, ViewOfPoint(points[n - 2]), end);
  }
  form.SetMessage(std::string(form.Tag == kPolylineInput ? "多直線の距離：" : "多角形の面積：") +
                  IntToStr(static_cast<int64_t>(n) + 1) + "番目の点をクリックしてください（合計長さ：" +
                  FormatLength(points) + "）");
}

void MeasureCommands::RubberLine(Point pointer, Point anchor) {
  Canvas& canvas = form.area.pb1Canvas();
  canvas.SetPenMode(PenMode::Not);
  Line(canvas, anchor, input.RubberEnd);  // drawn inverting a second time, the old band vanishes
  const Point end = ConstrainedEnd(anchor, pointer, CheckedAxis());
  Line(canvas, anchor, end);
  input.RubberEnd = end;
}

void MeasureCommands::MovePointRubber(int x, int y) {
  const TFigure* figure = CurrentFigure();
  const int32_t p = input.CurrentPoint;
  if (figure == nullptr || p < 0 || static_cast<std::size_t>(p) >= figure->Points.size()) return;
  const auto n = static_cast<int64_t>(figure->Points.size());
  const auto at = [&](int64_t i) { return ViewOfPoint(figure->Points[static_cast<std::size_t>(i)]); };
  Canvas& canvas = form.area.pb1Canvas();
  canvas.SetPenMode(PenMode::Not);
  if (p > 0) Line(canvas, at(p - 1), input.RubberEnd);
  if (p + 1 < n) Line(canvas, input.RubberEnd, at(p + 1));
  const Point end = ConstrainedEnd(at(p), {x, y}, CheckedAxis());
  if (p > 0) Line(canvas, at(p - 1), end);
  if (p + 1 < n) Line(canvas, end, at(p + 1));
  input.RubberEnd = end;
}

void MeasureCommands::FinishFigure(int32_t mode) {
  if (input.CurrentFigure == -1 || input.CurrentPoint == -1) return;
  const TFigure* figure = CurrentFigure();
  if (figure == nullptr) return;
  if (figure->Points.empty()) {
    form.SetMessage("中止しました");
  } else {
    // The band is erased where it is drawn: at the pointer's last place, which is the press's when
    // the figure is finished by the middle button, but not when it is finished from the menu.
    const std::size_t current = static_cast<std::size_t>(input.CurrentPoint);
    if (IsPositiveMode(mode) && current < figure->Points.size()) {
      Canvas& canvas = form.area.pb1Canvas();
      canvas.SetPenMode(PenMode::Not);
      Line(canvas, ViewOfPoint(figure->Points[current]), input.RubberEnd);
    }
    const FigurePoints points = figure->Points;
    if (mode == kPolylineInput) {
      ShowLengthResult(points);
    } else if (mode == kPolygonInput) {
      DrawFigures(form.area.pb1Canvas());  // the polygon is drawn closed now
      ShowAreaResult(points);
    }
  }
  form.Tag = kSelectionMode;
}

void MeasureCommands::ForgetInputBands() {
  const int32_t mode = form.Tag;
  const TFigure* figure = CurrentFigure();
  const int32_t p = input.CurrentPoint;
  const bool pointHeld = figure != nullptr && p >= 0 && static_cast<std::size_t>(p) < figure->Points.size();
  if (pointHeld && (IsPositiveMode(mode) || mode == kMovePoint))
    input.RubberEnd = ViewOfPoint(figure->Points[static_cast<std::size_t>(p)]);
  const FigurePoints& calibration = form.measurements.CalibrationPoints;
  if (mode == kCalibration && !calibration.empty()) input.RubberEnd = ViewOfPoint(calibration.front());
}

void MeasureCommands::N45Click() {
  const Point pointer = form.desktop.PointerPosition();
  const TFigure* figure = CurrentFigure();
  if (figure != nullptr && !figure->Points.empty()) {
    MouseEvent middle;
    middle.button = MouseButton::Middle;
    middle.x = pointer.x;
    middle.y = pointer.y;
    form.pb1MouseDown(middle);
  }
  form.RefreshImageArea();
}

void MeasureCommands::MeasureMouseDown(const MouseEvent& event) {
  if (event.button == MouseButton::Middle) {
    FinishFigure(event.toolMode);
    return;
  }
  if (event.button != MouseButton::Left) return;
  const Point at = form.ClampToImageArea(event.x, event.y);
  switch (event.toolMode) {
    case kPickFigureToDelete:
    case kPickFigureToResume:
    case kPickFigureToRecalculate:
      PickFigure(at, event.toolMode);
      break;
    case kMovePoint:
      if (input.CurrentPoint == -1) {
        PickVertex(at.x, at.y, kMovePoint);
      } else {
        ApplyMovedPoint(at.x, at.y);
      }
      break;
    case kCalibration:
      CalibrationClick(at.x, at.y);
      break;
    case kPolylineInput:
    case kPolygonInput:
      AddPoint(at.x, at.y);
      break;
    default:  // the selection; the wave effects' centre
      break;
  }
}

void MeasureCommands::MeasureMouseMove(const MouseEvent& event) {
  const Point at = form.ClampToImageArea(event.x, event.y);
  const int32_t mode = event.toolMode;
  const TFigure* figure = CurrentFigure();
  const int32_t p = input.CurrentPoint;
  if (figure != nullptr && p >= 0 && static_cast<std::size_t>(p) < figure->Points.size()) {
    if (IsPositiveMode(mode)) {
      RubberLine(at, ViewOfPoint(figure->Points[static_cast<std::size_t>(p)]));
    } else if (mode == kMovePoint) {
      MovePointRubber(at.x, at.y);
    }
  }
  if (mode == kCalibration && !form.measurements.CalibrationPoints.empty()) {
    RubberLine(at, ViewOfPoint(form.measurements.CalibrationPoints.front()));
  }
}

}  // namespace mv
