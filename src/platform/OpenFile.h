#pragma once
// Opening a file whose path came from the user or from a settings file. The open never waits: a
// named pipe would otherwise hold the program until another process opened its other end (and a
// pipe opened for writing with no reader fails at once). What was opened is then checked, and
// anything but the allowed kinds of file is closed again and refused.

#include <string>

namespace mv {

enum class FileKinds {
  Regular,                   // files only
  RegularOrCharacterDevice,  // files, and devices such as /dev/null or a terminal
};

// An open file descriptor, closed when the handle ends; or, when the open failed, why.
class FileHandle {
 public:
  FileHandle() = default;
  FileHandle(int descriptor, int error) : descriptor_(descriptor), error_(error) {}
  ~FileHandle();
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  int Descriptor() const { return descriptor_; }
  // The errno of a failed open: ENOENT when nothing is at the path, EISDIR for a folder, EINVAL
  // for another kind of file that is not allowed, or what open(2) reported.
  int Error() const { return error_; }
  // Gives up ownership: the caller closes the descriptor.
  int Release();

 private:
  int descriptor_ = -1;
  int error_ = 0;
};

// Opens `path` as open(2) does with `flags` (O_RDONLY, O_WRONLY | O_APPEND, with O_CREAT a missing
// file is created with mode 0644 less the umask), without waiting and without making a terminal
// the controlling one, and keeps it open only when it is one of `kinds`. The descriptor is closed on
// exec and blocks again as usual once opened.
FileHandle OpenFile(const std::string& path, int flags, FileKinds kinds);

}  // namespace mv
