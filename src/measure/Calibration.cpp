// The two-point calibration: two clicks whose real distance the user enters in the option library's
// dialog give the unit scale (real units per image pixel); and its reset.

#include <array>
#include <cmath>

#include "measure/MeasureForm.h"
#include "measure/Overlay.h"
#include "optionlib/OptionLibrary.h"

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

void TForm1::N13Click() {
  measure.CalibrationPoints.clear();
  RefreshImageArea();
  measure.UnitScale = 1.0L;
  Tag = -1;
  ShowGuidance(
      *this,
      "\r\n長さが既知の2点をクリックしてください\r\n\r\n下の「OK」を押した後、1点目をクリックしてください");
  SetMessage("長さを決めるための１点目をクリックしてください");
  desktop.SetImageAreaCursor(Cursor::Cross);
}

void TForm1::N20Click() {
  measure.CalibrationPoints.clear();
  RefreshImageArea();
  SetMessage("単位長さをリセットしました");
}

void TForm1::BitBtn10Click() {
  N9Click();
  menus.Click("N13");
}

void TForm1::BitBtn12Click() {
  if (!menus.Get("N9").enabled) return;
  N9Click();
  menus.Click("N20");
}

void TForm1::CalibrationClick(int x, int y) {
  FigurePoints& points = measure.CalibrationPoints;
  Canvas& canvas = area.pb1Canvas();
  const ColorRef lineColor = controls.label2Color;
  const Extended zoom = view.ZoomFactor;
  if (points.empty()) {
    points.push_back(ImagePosition({x, y}, zoom));
    measure.CalibrationColor = lineColor;
    measure.RubberEnd = {x, y};
    canvas.SetPenColor(lineColor);
    DrawMarker(canvas, {x, y});
    SetMessage("長さを決めるための2点目をクリックしてください");
    return;
  }
  if (points.size() != 1) return;

  // The second point lies on the constrained rubber band's end. Where that is the first point's own
  // view position (also when the axis constraint brings a click elsewhere back onto it) the two
  // points would have no distance to divide by: refused like a click on the first point.
  const Point first = ViewOfPoint(*this, points.front());
  const Point end = ConstrainedEnd(measure.RubberEnd, {x, y}, CheckedAxis(*this));
  if (first == Point{x, y} || first == end) {
    desktop.ShowMessageBox(BoxKind::Error,
                           "1点目と2点目が同じ座標です\r\n\r\n2点目は1点目と異なるように選択してください",
                           kOK, 0);
    SetMessage("2点目は1点目と異なるところをクリックしてください");
    return;
  }
  measure.RubberEnd = end;
  points.push_back(ImagePosition(end, zoom));
  measure.CalibrationColor = lineColor;
  canvas.SetPenColor(lineColor);
  DrawMarker(canvas, end);
  DrawPolyline(canvas, points, true, zoom);

  const ScopeExit finish([this] {
    measure.RubberEnd = {0, 0};
    Tag = 0;
    desktop.SetImageAreaCursor(Cursor::Default);
  });
  WithOptionLibrary([&](OptionSession& library) {
    const bool unitKnown = measure.UnitName != "pixel";
    const LengthAndUnit answer =
        library.GetLengthAndUnit(unitKnown ? static_cast<double>(measure.UnitScale) : 0.0,
                                 unitKnown ? UnitIndexOf(measure.UnitName) : 1);
    if (answer.length == 0.0) {
      points.clear();
      SetMessage("単位長さの指定をキャンセルしました");
      RefreshImageArea();
      return;
    }
    measure.UnitScale = static_cast<Extended>(answer.length) / Distance(points[0], points[1]);
    measure.UnitName = UnitNameOf(answer.unitIndex);
    SetMessage("1pixel= " + FormatG(measure.UnitScale, 4) + measure.UnitName + " にセットしました");
  });
}

}  // namespace mv
