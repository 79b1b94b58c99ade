#pragma once
// Viewer mode's list of the current folder's entries and the current file's place in it.

#include <cstdint>
#include <string>
#include <vector>

namespace mv {

struct BrowseState {
  std::vector<std::string> FolderList;  // full paths, in the folder listing's order
  int32_t currentIndex = 0;             // BitBtn1.Tag: index of the current file, -1 when not listed
};

}  // namespace mv
