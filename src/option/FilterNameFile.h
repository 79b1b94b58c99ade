#pragma once
// The custom filter's name for the program: "~filter.tmp" in the program folder, UTF-8 text whose
// first line is the name. The program reads it for the caption of the filter's messages and
// deletes it after every run of the command.

#include <string>

namespace mv {

inline constexpr const char* kFilterNameFile = "~filter.tmp";

// Writes the name (line breaks in it become spaces, so the first line holds all of it) followed by
// CR LF, replacing the file as a whole. Throws std::runtime_error when it cannot be written.
void WriteFilterNameFile(const std::string& folder, const std::string& name);

}  // namespace mv
