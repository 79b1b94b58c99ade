#include "platform/FolderListing.h"

#include <dirent.h>

#include <algorithm>
#include <memory>

namespace mv {

namespace {

int Rank(const std::string& name) {
  if (name == ".") return 0;
  if (name == "..") return 1;
  return 2;
}

unsigned char FoldCase(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

}  // namespace

bool FolderEntryBefore(const std::string& a, const std::string& b) {
  const int rankA = Rank(a);
  const int rankB = Rank(b);
  if (rankA != rankB) return rankA < rankB;
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return FoldCase(a[i]) < FoldCase(b[i]);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::optional<std::vector<std::string>> ListFolderEntries(const std::string& folder) {
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()), closedir);
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir.get())) names.emplace_back(entry->d_name);
  std::sort(names.begin(), names.end(), FolderEntryBefore);
  return names;
}

}  // namespace mv
