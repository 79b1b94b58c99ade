#pragma once
// Parts of file paths as the status bar and the folder list use them.

#include <string>

namespace mv {

// "dir/sub/a.png" -> "a.png".
std::string FileNamePart(const std::string& path);
// "dir/sub/a.png" -> "dir/sub"; "a.png" -> ""; "/a.png" -> "/".
std::string FolderPart(const std::string& path);
// Equal when ASCII letters are compared without regard to case, as the file system compares names.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

}  // namespace mv
