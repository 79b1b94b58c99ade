#include "codecs/ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "codecs/CodecError.h"

namespace mv {

ByteSource ByteSource::OpenFile(const std::string& path) {
  FileHandle file = mv::OpenFile(path, O_RDONLY, FileKinds::Regular);
  if (!file.IsOpen()) throw CodecError("cannot open " + path + ": " + std::strerror(file.Error()));
  struct stat info {};
  if (::fstat(file.Descriptor(), &info) != 0) throw CodecError("cannot read " + path);
  return ByteSource(std::move(file), static_cast<uint64_t>(info.st_size));
}

std::size_t ByteSource::ReadAt(uint64_t offset, std::span<uint8_t> out) const noexcept {
  if (offset >= size_ || out.empty()) return 0;
  const std::size_t count = static_cast<std::size_t>(std::min<uint64_t>(out.size(), size_ - offset));
  std::size_t done = 0;
  if (!file_.IsOpen()) {
    std::memcpy(out.data(), memory_.data() + offset, count);
    done = count;
  }
  while (done < count) {
    const ssize_t n =
        ::pread(file_.Descriptor(), out.data() + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytesRead_ += done;
  return done;
}

std::vector<uint8_t> ByteSource::Head(std::size_t count) const {
  std::vector<uint8_t> bytes(static_cast<std::size_t>(std::min<uint64_t>(count, size_)));
  bytes.resize(ReadAt(0, bytes));
  return bytes;
}

std::vector<uint8_t> ByteSource::Bytes(uint64_t offset, std::size_t count) const {
  if (offset > size_ || count > size_ - offset) throw CodecError("file is truncated");
  std::vector<uint8_t> bytes(count);
  if (ReadAt(offset, bytes) != count) throw CodecError("file is truncated");
  return bytes;
}

SourceReader::SourceReader(const ByteSource& source, uint64_t position)
    : source_(source), position_(position), buffer_(kBufferSize) {}

void SourceReader::Fill(std::size_t count) noexcept {
  if (end_ - begin_ >= count) return;
  std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  end_ += source_.ReadAt(position_ + end_, std::span(buffer_).subspan(end_));
}

std::size_t SourceReader::Read(void* out, std::size_t count) noexcept {
  auto* bytes = static_cast<uint8_t*>(out);
  std::size_t done = 0;
  while (done < count) {
    if (begin_ == end_) {
      // Large reads go straight to the destination; small ones through the buffer.
      if (count - done >= kBufferSize) {
        const std::size_t n = source_.ReadAt(position_, std::span(bytes + done, count - done));
        position_ += n;
        done += n;
        break;
      }
      Fill(1);
      if (begin_ == end_) break;
    }
    const std::size_t n = std::min(count - done, end_ - begin_);
    std::memcpy(bytes + done, buffer_.data() + begin_, n);
    begin_ += n;
    position_ += n;
    done += n;
  }
  return done;
}

uint8_t SourceReader::U8() {
  return Take(1)[0];
}

std::span<const uint8_t> SourceReader::Take(std::size_t count) {
  if (count > kBufferSize) throw CodecError("file is truncated");
  Fill(count);
  if (end_ - begin_ < count) throw CodecError("file is truncated");
  const std::span<const uint8_t> piece(buffer_.data() + begin_, count);
  begin_ += count;
  position_ += count;
  return piece;
}

}  // namespace mv
