#pragma once
// The hourglass while a command works; the default cursor again when the scope ends, on every path.

#include "shell/Desktop.h"

namespace mv {

class HourglassScope {
 public:
  explicit HourglassScope(Desktop& desktop) : desktop_(desktop) {
    desktop_.SetScreenCursor(Cursor::Hourglass);
  }
  ~HourglassScope() { desktop_.SetScreenCursor(Cursor::Default); }
  HourglassScope(const HourglassScope&) = delete;
  HourglassScope& operator=(const HourglassScope&) = delete;

 private:
  Desktop& desktop_;
};

}  // namespace mv
