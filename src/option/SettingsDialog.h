#pragma once
// The settings dialog: shows the keys the dialog maintains as they stand in the settings file and, on
// OK, writes them back into that file, keeping every other line of it.

#include <string>

namespace mv {

// Answers whether the file was written (false: cancelled). A file that cannot be written is
// reported and the dialog stays open.
bool EditSettings(const std::string& settingsPath);

}  // namespace mv
