#pragma once
// The bytes a reader decodes: a file, read piece by piece as the reader asks for them, so that the
// memory a file takes follows its picture rather than the file's size and reading stops where the
// picture ends; or bytes already in memory.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/OpenFile.h"

namespace mv {

class ByteSource {
 public:
  // Bytes in memory; they must outlive the source.
  explicit ByteSource(std::span<const uint8_t> bytes) : memory_(bytes), size_(bytes.size()) {}
  // The regular file at `path`, opened without waiting on it. CodecError when it cannot be opened
  // or is no regular file.
  static ByteSource OpenFile(const std::string& path);

  ByteSource(ByteSource&&) = default;
  ByteSource& operator=(ByteSource&&) = default;

  uint64_t Size() const { return size_; }
  // Copies the bytes from `offset` on into `out`, as many as fit; fewer at the end of the data and
  // none past it. A file that cannot be read further counts as ending there.
  std::size_t ReadAt(uint64_t offset, std::span<uint8_t> out) const noexcept;
  // Up to `count` bytes from the start (fewer when the data is shorter).
  std::vector<uint8_t> Head(std::size_t count) const;
  // Exactly `count` bytes from `offset`; CodecError("file is truncated") when the data ends first.
  std::vector<uint8_t> Bytes(uint64_t offset, std::size_t count) const;
  // How many bytes the readers have taken from the source so far (for measurements and tests).
  uint64_t BytesRead() const { return bytesRead_; }

 private:
  ByteSource(FileHandle file, uint64_t size) : file_(std::move(file)), size_(size) {}

  std::span<const uint8_t> memory_;
  FileHandle file_;
  uint64_t size_ = 0;
  mutable uint64_t bytesRead_ = 0;
};

// Reading a source onwards from a position through a buffer: blocks for the libraries' read
// callbacks, and bytes and pieces for the parsers.
class SourceReader {
 public:
  // The largest piece Take hands out.
  static constexpr std::size_t kBufferSize = 65536;

  explicit SourceReader(const ByteSource& source, uint64_t position = 0);

  uint64_t Position() const { return position_; }
  // The bytes from the position to the end of the data.
  uint64_t Remaining() const { return position_ < source_.Size() ? source_.Size() - position_ : 0; }

  // Copies up to `count` bytes into `out`; fewer only at the end of the data.
  std::size_t Read(void* out, std::size_t count) noexcept;
  // The next byte; CodecError("file is truncated") at the end.
  uint8_t U8();
  // The next `count` (at most kBufferSize) bytes, valid until the next call; CodecError("file is
  // truncated") when the data ends first.
  std::span<const uint8_t> Take(std::size_t count);

 private:
  // Makes at least `count` bytes (at most kBufferSize) available in the buffer if the data has them.
  void Fill(std::size_t count) noexcept;

  const ByteSource& source_;
  uint64_t position_;
  std::vector<uint8_t> buffer_;
  std::size_t begin_ = 0;  // the buffered bytes are buffer_[begin_, end_), starting at position_
  std::size_t end_ = 0;
};

}  // namespace mv
