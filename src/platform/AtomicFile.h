#pragma once
// Writing a file whole or not at all: the bytes go to a temporary file beside the target, which is
// then renamed over it, so a failed write never leaves a truncated file where a good one stood.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace mv {

// A write that did not happen; what() names the file and the reason.
class FileWriteError : public std::runtime_error {
 public:
  explicit FileWriteError(const std::string& message) : std::runtime_error(message) {}
};

// The file a write to `path` replaces: the file a symbolic link finally points to (the link stays a
// link), otherwise `path` itself.
std::string WriteTarget(const std::string& path);

// Writes `bytes` to WriteTarget(path) atomically. A file that replaces another is flushed to disk
// before the rename and keeps the other's permission bits; a new file gets 0666 less the umask.
// Throws FileWriteError when any step fails (the temporary is removed).
void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace mv
