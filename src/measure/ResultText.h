#pragma once
// The texts of measurement results: a length with its unit, a polygon's area report, the white and
// black areas of a binarized rectangle, and the comma-separated lines the measurement log keeps for
// them.

#include <cstdint>
#include <string>

#include "platform/Geometry.h"
#include "shell/LogQueues.h"
#include "shell/Measurements.h"

namespace mv {

// Calibrated: the length in the unit with "%.4g", " ", the unit ("12.35 mm"). Otherwise the pixel
// length rounded with halves to even and " pixels" ("2 pixels" for 2.5).
std::string LengthText(const FigurePoints& points, const Measurements& state);

// "多角形の面積= " and the area: calibrated "%.4g", " ", the unit and "2"; otherwise the rounded
// square pixels and " pixel2".
std::string AreaText(const FigurePoints& points, const Measurements& state);

// The log line of a reported figure (kind 1 polyline, 2 polygon): date and time, the kind's name,
// the value and unit, the image's path, the scale when calibrated, and the points truncated to
// whole pixels, each followed by ",".
std::string LogLine(const FigurePoints& points, int32_t kind, const Measurements& state,
                    const std::string& imagePath, const LocalTime& time);

// A log line's date and time, "yyyy/mm/dd h:mm:ss".
std::string LogDateTime(const LocalTime& time);

// One of the binarized areas with its share of `total` pixels: calibrated the area in the unit with
// up to 15 significant digits, " ", the unit and "2 （"; otherwise the count and " pixel2 （"; then
// the share in per cent with "%.3g" and "％）" ("1250 pixel2 （25％）").
std::string BinarizedAreaText(int32_t count, int64_t total, const Measurements& state);

// The column header that heads the binarized-area lines of a batch.
extern const char* const kAreaLogHeader;

// The log line of a binarized rectangle: date and time, the white and black areas (calibrated in the
// unit squared, else in pixels), the rectangle's and the picture's pixels, the scale and
// "unit/pixel" (one space each when not calibrated), the rectangle's left, top, right and bottom,
// and the image's path in double quotes, as it is: the path is the last field, so a reader splits
// the line at its first eleven commas.
std::string AreaLogLine(int32_t whiteCount, int32_t blackCount, const Rect& rect, Size picture,
                        const Measurements& state, const std::string& imagePath, const LocalTime& time);

}  // namespace mv
