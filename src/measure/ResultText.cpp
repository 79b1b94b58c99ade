#include "measure/ResultText.h"

#include <cstdio>
#include <iterator>

#include "measure/FigureGeometry.h"

namespace mv {

namespace {

// The square of the scale is taken first, in extended precision.
Extended CalibratedArea(Extended area, const Measurements& state) {
  const Extended scaleSquared = state.UnitScale * state.UnitScale;
  return scaleSquared * area;
}

// A count of pixels as an area: calibrated in the unit squared with up to 15 significant digits.
std::string CountAsArea(int32_t count, const Measurements& state) {
  return state.Calibrated() ? FormatG(CalibratedArea(count, state), 15) : IntToStr(count);
}

}  // namespace

const char* const kAreaLogHeader =
    "日　時,面積（白）,面積（黒）,面積（選択部）,面積（画像全体）,基準長さ,単位,左上の位置X,左上の位置Y,"
    "右下の位置X,右下の位置Y,ファイル名";

std::string LogDateTime(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

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
  std::string line = LogDateTime(time) + "," + (polyline ? "長さ" : "多角形の面積") + "," +
                     FormatG(value, 15) + "," + unit + "," + imagePath + ",";
  if (calibrated) line += "1pixel=" + FormatG(state.UnitScale, 15) + state.UnitName + ",";
  line += "計測点X Y=";
  for (const TFigurePoint& p : points)
    line += IntToStr(TruncTowardZero(p.X)) + " " + IntToStr(TruncTowardZero(p.Y)) + ",";
  return line;
}

std::string BinarizedAreaText(int32_t count, int64_t total, const Measurements& state) {
  const std::string area = state.Calibrated() ? CountAsArea(count, state) + " " + state.UnitName + "2 （"
                                              : IntToStr(count) + " pixel2 （";
  const Extended share = 100.0L * count / static_cast<Extended>(total);
  return area + FormatG(share, 3) + "％）";
}

std::string AreaLogLine(int32_t whiteCount, int32_t blackCount, const Rect& rect, Size picture,
                        const Measurements& state, const std::string& imagePath, const LocalTime& time) {
  const bool calibrated = state.Calibrated();
  const std::string fields[] = {
      LogDateTime(time),
      CountAsArea(whiteCount, state),
      CountAsArea(blackCount, state),
      IntToStr(int64_t{rect.Width()} * rect.Height()),
      IntToStr(int64_t{picture.width} * picture.height),
      calibrated ? FormatG(state.UnitScale, 15) : " ",
      calibrated ? state.UnitName + "/pixel" : " ",
      IntToStr(rect.left),
      IntToStr(rect.top),
      IntToStr(rect.right),
      IntToStr(rect.bottom),
      "\"" + imagePath + "\"",
  };
  std::string line = fields[0];
  for (std::size_t i = 1; i < std::size(fields); ++i) line += "," + fields[i];
  return line;
}

}  // namespace mv
