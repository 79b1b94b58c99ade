#pragma once
// The texts of measurement results: a length with its unit, a polygon's area report, and the
// comma-separated line the measurement log keeps for a result.

#include <cstdint>
#include <string>

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

}  // namespace mv
