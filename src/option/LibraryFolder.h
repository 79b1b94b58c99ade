#pragma once
// The folder option.so was loaded from. The program loads it from its program folder, so files
// the program reads from there (the custom filter's name) are written here.

#include <string>

namespace mv {

// Without a trailing '/'; empty when the loader cannot tell.
std::string LibraryFolder();

}  // namespace mv
