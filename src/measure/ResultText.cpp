#include "measure/ResultText.h"

#include <cstdio>

#include "measure/FigureGeometry.h"

namespace mv {

namespace {

// The square of the scale is taken first, in extended precision.
Extended CalibratedArea(Extended area, const Measurements& state) {
  const Extended scaleSquared = state.UnitScale * state.UnitScale;
  return scaleSquared * area;
}

// yyyy/mm/dd h:mm:ss
std::string DateAndTime(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

}  // namespace

std::string LengthText(const FigurePoints& points, const Measurements& state) {
  const Extended length = PolylineLength(points);
  if (state.Calibrated()) return FormatG(length * state.UnitScale, 4) + " " + state.UnitName;
  return IntToStr(RoundHalfEven(length)) + " pixels";
}

std::string AreaText(const FigurePoints& points, const Measurements& state) {
  const Extended area = PolygonArea(points);
  if (state.Calibrated()) {
    return "多角形の面積= " + FormatG(CalibratedArea(area, state), 4) + " " + state.UnitName + "2";
  }
  return "多角形の面積= " + IntToStr(RoundHalfEven(area)) + " pixel2";
}

std::string LogLine(const FigurePoints& points, int32_t kind, const Measurements& state,
                    const std::string& imagePath, const LocalTime& time) {
  const bool calibrated = state.Calibrated();
  const bool polyline = kind == kPolyline;
  Extended value = 0;
  std::string unit;
  if (polyline) {
    value = calibrated ? PolylineLength(points) * state.UnitScale : PolylineLength(points);
    unit = calibrated ? state.UnitName : "pixels";
  } else {
    value = calibrated ? CalibratedArea(PolygonArea(points), state) : PolygonArea(points);
    unit = calibrated ? state.UnitName + "2" : "pixel2";
  }
  std::string line = DateAndTime(time) + "," + (polyline ? "長さ" : "多角形の面積") + "," +
                     FormatG(value, 15) + "," + unit + "," + imagePath + ",";
  if (calibrated) line += "1pixel=" + FormatG(state.UnitScale, 15) + state.UnitName + ",";
  line += "計測点X Y=";
  for (const TFigurePoint& p : points)
    line += IntToStr(TruncTowardZero(p.X)) + " " + IntToStr(TruncTowardZero(p.Y)) + ",";
  return line;
}

}  // namespace mv
