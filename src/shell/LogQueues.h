#pragma once
// The measurement log's pending lines and the clock that dates them. Length and area results and
// binarized-area results queue their lines here until the user writes them to the log file.

#include <functional>
#include <string>
#include <vector>

namespace mv {

// A moment in local time, as the log's date and time fields show it.
struct LocalTime {
  int year = 0;
  int month = 0;  // 1 … 12
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The current local time of the system.
LocalTime SystemLocalTime();

struct LogQueues {
  std::vector<std::string> MeasureLog;  // length and area lines
  std::vector<std::string> AreaLog;     // binarized-area lines, headed by their column header
  // Where the log lines take their date and time from when set (a macro run may fix it); otherwise
  // the system's local time.
  std::function<LocalTime()> clock;

  LocalTime Now() const { return clock ? clock() : SystemLocalTime(); }
};

}  // namespace mv
