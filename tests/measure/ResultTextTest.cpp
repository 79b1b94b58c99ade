#include "measure/ResultText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mv {
namespace {

Measurements Calibrated(Extended scale, const std::string& unit) {
  Measurements state;
  state.CalibrationPoints = {{0, 0}, {100, 0}};
  state.UnitScale = scale;
  state.UnitName = unit;
  return state;
}

TEST(ResultText, UncalibratedLengthsRoundHalvesToEven) {
  const Measurements state;
  EXPECT_EQ(LengthText({{0, 0}, {2.5, 0}}, state), "2 pixels");
  EXPECT_EQ(LengthText({{0, 0}, {3.5, 0}}, state), "4 pixels");
  EXPECT_EQ(LengthText({{0, 0}, {3, 4}, {3, 10}}, state), "11 pixels");
  EXPECT_EQ(LengthText({{5, 5}}, state), "0 pixels");
}

TEST(ResultText, CalibratedTextsUseTheUnitAndFourDigits) {
  EXPECT_EQ(LengthText({{0, 0}, {3, 4}, {3, 10}}, Calibrated(0.5L, "mm")), "5.5 mm");
  EXPECT_EQ(LengthText({{0, 0}, {1234.5678, 0}}, Calibrated(1.0L, "μm")), "1235 μm");
  // 1 234 567 square pixels at 0.01 mm per pixel.
  const FigurePoints rectangle = {{0, 0}, {1234567, 0}, {1234567, 1}, {0, 1}};
  EXPECT_EQ(AreaText(rectangle, Calibrated(0.01L, "mm")), "多角形の面積= 123.5 mm2");
  EXPECT_EQ(AreaText(rectangle, Measurements{}), "多角形の面積= 1234567 pixel2");
  EXPECT_EQ(AreaText({{0, 0}, {5, 0}, {0, 1}}, Measurements{}), "多角形の面積= 2 pixel2");  // 2.5 -> 2
}

TEST(ResultText, ResetCalibrationReportsPixelsWhateverTheScale) {
  Measurements state = Calibrated(0.05L, "mm");
  state.CalibrationPoints.pop_back();
  EXPECT_EQ(LengthText({{0, 0}, {100, 0}}, state), "100 pixels");
}

TEST(ResultText, LogLineOfACalibratedPolyline) {
  const LocalTime time{2024, 3, 7, 9, 5, 4};
  const std::string line = LogLine({{10.9, 20.2}, {110.9, 20.2}, {110.9, 60.2}}, kPolyline,
                                   Calibrated(0.05L, "mm"), "/data/a b.png", time);
  EXPECT_EQ(line, "2024/03/07 9:05:04,長さ,7,mm,/data/a b.png,1pixel=0.05mm,計測点X Y=10 20,110 20,110 60,");
}

TEST(ResultText, LogLineOfAnUncalibratedPolygonHasNoScaleField) {
  const LocalTime time{2024, 12, 31, 23, 59, 58};
  const std::string line = LogLine({{0, 0}, {10, 0}, {10, 10}}, kPolygon, Measurements{}, "", time);
  EXPECT_EQ(line, "2024/12/31 23:59:58,多角形の面積,50,pixel2,,計測点X Y=0 0,10 0,10 10,");
  // Up to 15 significant digits.
  const std::string third =
      LogLine({{0, 0}, {1, 0}, {0, 3}}, kPolygon, Calibrated(1.0L / 3.0L, "cm"), "", time);
  EXPECT_NE(third.find(",多角形の面積,0.166666666666667,cm2,,1pixel=0.333333333333333cm,"), std::string::npos)
      << third;
}

// The fields of an area log line: split at the first eleven commas, the rest is the twelfth.
std::vector<std::string> AreaLogFields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (int i = 0; i < 11; ++i) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

TEST(ResultText, AnAreaLogLineSplitsAtItsFirstElevenCommasWhateverThePathHolds) {
  // The path is written in its quotes as it is, so a path with quotes and commas of its own comes
  // back whole as the last field.
  const std::string path = R"(/data/run "A", 3,4/x"y.png)";
  const std::string line = AreaLogLine(1250, 3750, {10, 20, 110, 70}, {400, 300}, Calibrated(0.3L, "μm"),
                                       path, LocalTime{2024, 1, 2, 3, 4, 5});
  EXPECT_EQ(AreaLogFields(line),
            (std::vector<std::string>{"2024/01/02 3:04:05", "112.5", "337.5", "5000", "120000", "0.3",
                                      "μm/pixel", "10", "20", "110", "70", "\"" + path + "\""}));
  // Large counts stay exact, in floating point for the shares.
  EXPECT_EQ(BinarizedAreaText(268435455, 268435456, Measurements{}), "268435455 pixel2 （100％）");
  EXPECT_EQ(BinarizedAreaText(1, 268435456, Measurements{}), "1 pixel2 （3.73e-07％）");
}

}  // namespace
}  // namespace mv
