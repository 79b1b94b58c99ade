#pragma once
// The entries of a folder in the order the Windows file system's enumeration gives them: "." first,
// ".." second, then every other entry (files, folders, anything) in case-insensitive name order.
// Raw readdir order would make stepping through a folder look random.

#include <optional>
#include <string>
#include <vector>

namespace mv {

// The entry names of `folder` (an empty folder text means the current directory), or nullopt when
// the folder cannot be enumerated.
std::optional<std::vector<std::string>> ListFolderEntries(const std::string& folder);

// The order of ListFolderEntries: names are compared with ASCII letters folded to upper case, as the
// file system's name order does; names that differ only in case keep their byte order.
bool FolderEntryBefore(const std::string& a, const std::string& b);

}  // namespace mv
