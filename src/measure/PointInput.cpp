// Point input: starting a polyline or polygon, adding its points with the axis constraint, the
// inverting rubber bands that follow the pointer, finishing a figure, and the tool modes' part of
// pb1's mouse handlers.

#include "measure/MeasureForm.h"
#include "measure/Overlay.h"

namespace mv {

namespace {

void StartFigureInput(TForm1& form, int32_t kind) {
  const bool polyline = kind == kPolyline;
  if (!polyline) form.RefreshImageArea();
  form.Tag = kind;
  ShowGuidance(form, polyline ? "多直線（2点以上の点で結んだ直線）の距離を計算します\r\n\r\n"
                                "距離を測りたい経路上でマウスをクリックしてください\r\n"
                                "点の指定を終えるときは、マウスの真ん中ボタンを押してください\r\n\r\n"
                                "下の「OK」を押した後、1点目をクリックしてください"
                              : "多角形の面積を計算します\r\n\r\n"
                                "面積計算をする図形の輪郭上をクリックして、点で囲んでください\r\n"
                                "点の指定を終えるときは、マウスの真ん中ボタンを押してください\r\n\r\n"
                                "下の「OK」を押した後、1点目をクリックしてください");
  form.SetMessage(polyline ? "多直線の距離：1点目をクリックしてください"
                           : "多角形の面積：1点目をクリックしてください");
  MeasureState& measure = form.measure;
  measure.Figures.push_back(TFigure{kind, form.controls.label2Color, {}});
  measure.CurrentFigure = CheckedInt32(static_cast<int64_t>(measure.Figures.size()) - 1);
  measure.CurrentPoint = -1;
  measure.ResumedPointCount = -1;
  form.desktop.SetImageAreaCursor(Cursor::Cross);
}

// A line with the canvas's pen as it is, without its end pixel.
void Line(Canvas& canvas, Point from, Point to) {
  canvas.MoveTo(from.x, from.y);
  canvas.LineTo(to.x, to.y);
}

bool IsPositiveMode(int32_t mode) {
  return mode >= 1 && mode <= 4;
}

}  // namespace

void TForm1::N10Click() {
  StartFigureInput(*this, kPolyline);
}

void TForm1::N15Click() {
  StartFigureInput(*this, kPolygon);
}

void TForm1::BitBtn7Click() {
  N9Click();
  menus.Click("N10");
}

void TForm1::BitBtn9Click() {
  N9Click();
  menus.Click("N15");
}

void TForm1::AddPoint(int x, int y) {
  TFigure* figure = measure.Current();
  if (figure == nullptr) return;
  FigurePoints& points = figure->Points;
  // A constrained point lies on the horizontal or vertical through the previous point's view
  // position, which the rubber band's end keeps.
  const Point end =
      points.empty() ? Point{x, y} : ConstrainedEnd(measure.RubberEnd, {x, y}, CheckedAxis(*this));
  points.push_back(ImagePosition(end, view.ZoomFactor));
  measure.RubberEnd = end;
  const std::size_t n = points.size();
  measure.CurrentPoint = CheckedInt32(static_cast<int64_t>(n) - 1);

  Canvas& canvas = area.pb1Canvas();
  DrawMarker(canvas, end);
  if (n >= 2) {
    canvas.SetPenColor(figure->Color);
    canvas.SetPenMode(PenMode::Copy);
    Line(canvas, ViewOfPoint(*this, points[n - 2]), end);
  }
  SetMessage(std::string(Tag == 1 ? "多直線の距離：" : "多角形の面積：") +
             IntToStr(static_cast<int64_t>(n) + 1) + "番目の点をクリックしてください（合計長さ：" +
             FormatLength(points) + "）");
}

void TForm1::RubberLine(Point pointer, Point anchor) {
  Canvas& canvas = area.pb1Canvas();
  canvas.SetPenMode(PenMode::Not);
  Line(canvas, anchor, measure.RubberEnd);  // drawn inverting a second time, the old band vanishes
  const Point end = ConstrainedEnd(anchor, pointer, CheckedAxis(*this));
  Line(canvas, anchor, end);
  measure.RubberEnd = end;
}

void TForm1::MovePointRubber(int x, int y) {
  const TFigure* figure = measure.Current();
  const int32_t p = measure.CurrentPoint;
  if (figure == nullptr || p < 0 || static_cast<std::size_t>(p) >= figure->Points.size()) return;
  const auto n = static_cast<int64_t>(figure->Points.size());
  const auto at = [&](int64_t i) { return ViewOfPoint(*this, figure->Points[static_cast<std::size_t>(i)]); };
  Canvas& canvas = area.pb1Canvas();
  canvas.SetPenMode(PenMode::Not);
  if (p > 0) Line(canvas, at(p - 1), measure.RubberEnd);
  if (p + 1 < n) Line(canvas, measure.RubberEnd, at(p + 1));
  const Point end = ConstrainedEnd(at(p), {x, y}, CheckedAxis(*this));
  if (p > 0) Line(canvas, at(p - 1), end);
  if (p + 1 < n) Line(canvas, end, at(p + 1));
  measure.RubberEnd = end;
}

void TForm1::FinishFigure(int x, int y, int32_t mode) {
  if (measure.CurrentFigure == -1 || measure.CurrentPoint == -1) return;
  const TFigure* figure = measure.Current();
  if (figure == nullptr) return;
  if (figure->Points.empty()) {
    SetMessage("中止しました");
  } else {
    const std::size_t current = static_cast<std::size_t>(measure.CurrentPoint);
    if (IsPositiveMode(mode) && current < figure->Points.size()) {
      const Point anchor = ViewOfPoint(*this, figure->Points[current]);
      Canvas& canvas = area.pb1Canvas();
      canvas.SetPenMode(PenMode::Not);
      Line(canvas, anchor, ConstrainedEnd(anchor, {x, y}, CheckedAxis(*this)));
    }
    const FigurePoints points = figure->Points;
    if (mode == 1) {
      ShowLengthResult(points);
    } else if (mode == 2) {
      DrawFigures(area.pb1Canvas());  // the polygon is drawn closed now
      ShowAreaResult(points);
    }
  }
  Tag = 0;
}

void TForm1::N45Click() {
  const Point pointer = desktop.PointerPosition();
  const TFigure* figure = measure.Current();
  if (figure != nullptr && !figure->Points.empty()) {
    MouseEvent middle;
    middle.button = MouseButton::Middle;
    middle.x = pointer.x;
    middle.y = pointer.y;
    pb1MouseDown(middle);
  }
  RefreshImageArea();
}

void TForm1::MeasureMouseDown(const MouseEvent& event) {
  if (event.button == MouseButton::Middle) {
    FinishFigure(event.x, event.y, event.toolMode);
    return;
  }
  if (event.button != MouseButton::Left) return;
  const Point at = ClampToImageArea(event.x, event.y);
  switch (event.toolMode) {
    case -5:
    case -4:
    case -3:
      PickFigure(*this, at, event.toolMode);
      break;
    case -2:
      if (measure.CurrentPoint == -1) {
        PickVertex(at.x, at.y, -2);
      } else {
        ApplyMovedPoint(at.x, at.y);
      }
      break;
    case -1:
      CalibrationClick(at.x, at.y);
      break;
    case 1:
    case 2:
      AddPoint(at.x, at.y);
      break;
    default:  // 0: the selection; 3 and 4: the wave effects' centre
      break;
  }
}

void TForm1::MeasureMouseMove(const MouseEvent& event) {
  const Point at = ClampToImageArea(event.x, event.y);
  const int32_t mode = event.toolMode;
  const TFigure* figure = measure.Current();
  const int32_t p = measure.CurrentPoint;
  if (figure != nullptr && p >= 0 && static_cast<std::size_t>(p) < figure->Points.size()) {
    if (IsPositiveMode(mode)) {
      RubberLine(at, ViewOfPoint(*this, figure->Points[static_cast<std::size_t>(p)]));
    } else if (mode == -2) {
      MovePointRubber(at.x, at.y);
    }
  }
  if (mode == -1 && !measure.CalibrationPoints.empty()) {
    RubberLine(at, ViewOfPoint(*this, measure.CalibrationPoints.front()));
  }
}

}  // namespace mv
