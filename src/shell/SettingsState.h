#pragma once
// Settings read from the settings file that are not held by a control.

#include <string>

namespace mv {

struct SettingsState {
  std::string SettingsPath;
  // The settings file exists but could not be read at start (reported then): it is not written at
  // close, so whatever it holds stays.
  bool SettingsUnreadable = false;
  bool ToolMessages = false;      // "Show" "Tool Message": skip the guidance boxes
  bool ShowProgress = false;      // "Show" "Progress Bar"
  bool NoCache = false;           // "Application" "No Cache"
  bool LogLengthAndArea = false;  // "Log" "Length And Area"
  bool LogTwoValueArea = false;   // "Log" "Two Value Area"
};

}  // namespace mv
