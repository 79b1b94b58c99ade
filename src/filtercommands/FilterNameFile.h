#pragma once
// The custom filter's name file "~filter.tmp" in the program folder, left by the custom-filter dialog:
// its first line names the filter in the command's messages. The command deletes it after every run.

#include <string>

namespace mv {

inline constexpr const char* kFilterNameFileName = "~filter.tmp";
inline constexpr const char* kDefaultCustomFilterCaption = "カスタムフィルタ";

// The first line of the file at `path` (UTF-8, without its line end or a byte-order mark), or
// "カスタムフィルタ" when there is none to use: no file, not a regular file, unreadable, an empty
// first line, a first line longer than 1024 bytes, or one that holds control characters or is not
// UTF-8 (a binary file). Only the file's first bytes are read, and never waited for.
std::string CustomFilterCaption(const std::string& path);

// Deletes the file, or a link of that name, when there is one; a folder of that name stays.
void RemoveFilterNameFile(const std::string& path);

}  // namespace mv
