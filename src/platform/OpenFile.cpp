#include "platform/OpenFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace mv {

namespace {

// The reason a file of this mode is refused, or 0 when it is allowed.
int RefusalFor(mode_t mode, FileKinds kinds) {
  if (S_ISREG(mode)) return 0;
  if (S_ISCHR(mode) && kinds == FileKinds::RegularOrCharacterDevice) return 0;
  return S_ISDIR(mode) ? EISDIR : EINVAL;
}

}  // namespace

FileHandle::~FileHandle() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), error_(other.error_) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = std::exchange(other.descriptor_, -1);
    error_ = other.error_;
  }
  return *this;
}

int FileHandle::Release() {
  return std::exchange(descriptor_, -1);
}

FileHandle OpenFile(const std::string& path, int flags, FileKinds kinds) {
  const int descriptor = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (descriptor < 0) return FileHandle(-1, errno);
  FileHandle handle(descriptor, 0);
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) return FileHandle(-1, errno);
  if (const int refusal = RefusalFor(info.st_mode, kinds)) return FileHandle(-1, refusal);
  const int statusFlags = ::fcntl(descriptor, F_GETFL);
  if (statusFlags < 0 || ::fcntl(descriptor, F_SETFL, statusFlags & ~O_NONBLOCK) != 0)
    return FileHandle(-1, errno);
  return handle;
}

}  // namespace mv
