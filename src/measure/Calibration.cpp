// The two-point calibration: two clicks whose real distance the user enters in the option library's
// dialog give the unit scale (real units per image pixel); and its reset.

#include <array>
#include <cmath>

#include "measure/MeasureCommands.h"
#include "measure/Overlay.h"
#include "optionlib/OptionLibrary.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

// The units of the length dialog by their index.
constexpr std::array<const char*, 4> kUnitNames = {"μm", "mm", "cm", "m"};

int32_t UnitIndexOf(const std::string& unitName) {
  for (std::size_t i = 0; i < kUnitNames.size(); ++i) {
    if (unitName == kUnitNames[i]) return static_cast<int32_t>(i);
  }
  return 0;
}

std::string UnitNameOf(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(kUnitNames.size())) return "pixel";
  return kUnitNames[static_cast<std::size_t>(index)];
}

Extended Distance(const TFigurePoint& a, const TFigurePoint& b) {
  const Extended dx = static_cast<Extended>(a.X) - b.X;
  const Extended dy = static_cast<Extended>(a.Y) - b.Y;
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

void MeasureCommands::N13Click() {
  form.measurements.CalibrationPoints.clear();
  form.RefreshImageArea();
  form.measurements.UnitScale = 1.0L;
  form.Tag = kCalibration;
  ShowGuidance(
      "\r\n長さが既知の2点をクリックしてください\r\n\r\n下の「OK」を押した後、1点目をクリックしてください");
  form.SetMessage("長さを決めるための１点目をクリックしてください");
  form.desktop.SetImageAreaCursor(Cursor::Cross);
}

void MeasureCommands::N20Click() {
  form.measurements.CalibrationPoints.clear();
  form.RefreshImageArea();
  form.SetMessage("単位長さをリセットしました");
}

void MeasureCommands::BitBtn10Click() {
  N9Click();
  form.menus.Click("N13");
}

void MeasureCommands::BitBtn12Click() {
  if (!form.menus.Get("N9").enabled) return;
  N9Click();
  form.menus.Click("N20");
}

void MeasureCommands::CalibrationClick(int x, int y) {
  FigurePoints& points = form.measurements.CalibrationPoints;
  Canvas& canvas = form.area.pb1Canvas();
  const ColorRef lineColor = form.controls.label2Color;
  const Extended zoom = form.view.ZoomFactor;
  if (points.empty()) {
    points.push_back(ImagePosition({x, y}, zoom));
    form.measurements.CalibrationColor = lineColor;
    input.RubberEnd = {x, y};
    canvas.SetPenColor(lineColor);
    DrawMarker(canvas, {x, y});
    form.SetMessage("長さを決めるための2点目をクリックしてください");
    return;
  }
  if (points.size() != 1) return;

  // The second point lies on the constrained rubber band's end. Where that is the first point's own
  // view position (also when the axis constraint brings a click elsewhere back onto it) the two
  // points would have no distance to divide by: refused like a click on the first point.
  const Point first = ViewOfPoint(points.front());
  const Point end = ConstrainedEnd(input.RubberEnd, {x, y}, CheckedAxis());
  if (first == Point{x, y} || first == end) {
    form.desktop.ShowMessageBox(
        BoxKind::Error, "1点目と2点目が同じ座標です\r\n\r\n2点目は1点目と異なるように選択してください", kOK,
        0);
    form.SetMessage("2点目は1点目と異なるところをクリックしてください");
    return;
  }
  input.RubberEnd = end;
  points.push_back(ImagePosition(end, zoom));
  form.measurements.CalibrationColor = lineColor;
  canvas.SetPenColor(lineColor);
  DrawMarker(canvas, end);
  DrawPolyline(canvas, points, true, zoom);

  const ScopeExit finish([this] {
    input.RubberEnd = {0, 0};
    form.Tag = kSelectionMode;
    form.desktop.SetImageAreaCursor(Cursor::Default);
  });
  form.WithOptionLibrary([&](OptionSession& library) {
    const bool unitKnown = form.measurements.UnitName != "pixel";
    const LengthAndUnit answer =
        library.GetLengthAndUnit(unitKnown ? static_cast<double>(form.measurements.UnitScale) : 0.0,
                                 unitKnown ? UnitIndexOf(form.measurements.UnitName) : 1);
    if (answer.length == 0.0) {
      points.clear();
      form.SetMessage("単位長さの指定をキャンセルしました");
      form.RefreshImageArea();
      return;
    }
    form.measurements.UnitScale = static_cast<Extended>(answer.length) / Distance(points[0], points[1]);
    form.measurements.UnitName = UnitNameOf(answer.unitIndex);
    form.SetMessage("1pixel= " + FormatG(form.measurements.UnitScale, 4) + form.measurements.UnitName +
                    " にセットしました");
  });
}

}  // namespace mv
