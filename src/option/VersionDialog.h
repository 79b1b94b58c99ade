#pragma once
// The about box: the program's name, its version text and what it is for.

#include <string>

namespace mv {

void ShowVersionBox(const std::string& versionText);

}  // namespace mv
