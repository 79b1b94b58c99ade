#pragma once
// The custom filter: nine weights, divisor (0 is let through: the filter pass then reports the
// division), offset, how the result is drawn (a named raster operation), how the area is prepared
// and a name, with presets and a live preview on a built-in test pattern.

#include <optional>
#include <string>

#include "option/CustomFilterSettings.h"

namespace mv {

struct CustomFilterEntry {
  CustomFilterSettings settings;
  std::string name;  // UTF-8; may be empty
};

// `offered` is shown first. The entry confirmed, or nothing when cancelled. On confirmation the
// name is written to the name file in `nameFolder` (a file that cannot be written is reported; the
// filter is still confirmed and runs under the program's default caption).
std::optional<CustomFilterEntry> AskCustomFilter(const CustomFilterSettings& offered,
                                                 const std::string& nameFolder);

}  // namespace mv
