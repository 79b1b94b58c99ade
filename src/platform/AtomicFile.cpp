#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace mv {

namespace {

std::string SystemMessage(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

// The longest file name the file systems take, in bytes.
constexpr std::size_t kLongestName = 255;

// Closes a descriptor and removes the temporary file unless the write was committed. Failures name
// the target, the file the user asked for; the temporary is not the user's concern.
class TemporaryFile {
 public:
  TemporaryFile(const std::string& folderAndPrefix, std::string target) : target_(std::move(target)) {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      path_ = folderAndPrefix + std::to_string(random()) + ".tmp";
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) throw FileWriteError(SystemMessage("cannot write", target_));
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(std::span<const uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw FileWriteError(SystemMessage("cannot write", target_));
      done += static_cast<std::size_t>(n);
    }
  }
  // Answers whether the target exists, and gives the temporary its permission bits if so.
  bool CopyModeFrom(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) return false;
    ::fchmod(fd_, info.st_mode & 07777);
    return true;
  }
  // A file that replaces another is flushed to disk before the rename, so a system crash cannot
  // leave an empty file where the good one stood; a new file has nothing to lose and skips it.
  void CommitAs(const std::string& target, bool replacing) {
    if (replacing && ::fsync(fd_) != 0) throw FileWriteError(SystemMessage("cannot write", target));
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw FileWriteError(SystemMessage("cannot write", target));
    if (::rename(path_.c_str(), target.c_str()) != 0)
      throw FileWriteError(SystemMessage("cannot write", target));
    committed_ = true;
  }

 private:
  std::string target_;
  std::string path_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace

std::string WriteTarget(const std::string& path) {
  std::error_code error;
  const std::filesystem::path target(path);
  if (std::filesystem::is_symlink(target, error)) {
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
    if (!error) return resolved.string();
  }
  return path;
}

void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
  const std::filesystem::path target(WriteTarget(path));
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  // A hidden name beside the target: ".name.<random>.tmp", or ".mirvane.<random>.tmp" where the
  // target's name is too long to carry more (a name the file system takes must stay writable).
  std::string hidden = target.filename().string();
  hidden.insert(0, 1, '.');
  hidden.push_back('.');
  if (hidden.size() + 24 > kLongestName) hidden.assign(".mirvane.");
  TemporaryFile temporary((folder / hidden).string(), path);
  temporary.Write(bytes);
  const bool replacing = temporary.CopyModeFrom(target.string());
  temporary.CommitAs(target.string(), replacing);
}

}  // namespace mv
