#pragma once
// The folder of the running executable, where the settings file, the two plug-in libraries and the
// help files live. Never the current directory.

#include <string>

namespace mv {

// The folder of /proc/self/exe without a trailing '/'; empty when it cannot be read.
std::string ExecutableFolder();

// Library file names as the platform calls them; messages that name a library use these.
inline constexpr const char* kFilterLibraryFile = "mvfilters.so";
inline constexpr const char* kOptionLibraryFile = "option.so";

}  // namespace mv
