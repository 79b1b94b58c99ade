#pragma once
// Bounds-checked reading of little-endian fields from a byte buffer. Reading past the end throws
// CodecError("file is truncated"), so parsers of hostile files need no checks of their own.

#include <cstddef>
#include <cstdint>
#include <span>

#include "codecs/CodecError.h"

namespace mv {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes, std::size_t position = 0)
      : bytes_(bytes), position_(position) {}

  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return position_ < bytes_.size() ? bytes_.size() - position_ : 0; }
  void Seek(std::size_t position) { position_ = position; }
  void Skip(std::size_t count) {
    Require(count);
    position_ += count;
  }

  uint8_t U8() {
    Require(1);
    return bytes_[position_++];
  }
  uint16_t U16() {
    Require(2);
    const uint16_t v = static_cast<uint16_t>(bytes_[position_] | (bytes_[position_ + 1] << 8));
    position_ += 2;
    return v;
  }
  uint32_t U32() {
    Require(4);
    const uint32_t v = static_cast<uint32_t>(bytes_[position_]) |
                       (static_cast<uint32_t>(bytes_[position_ + 1]) << 8) |
                       (static_cast<uint32_t>(bytes_[position_ + 2]) << 16) |
                       (static_cast<uint32_t>(bytes_[position_ + 3]) << 24);
    position_ += 4;
    return v;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }

  // The next `count` bytes, consumed.
  std::span<const uint8_t> Take(std::size_t count) {
    Require(count);
    const std::span<const uint8_t> part = bytes_.subspan(position_, count);
    position_ += count;
    return part;
  }

 private:
  void Require(std::size_t count) const {
    if (count > Remaining()) throw CodecError("file is truncated");
  }

  std::span<const uint8_t> bytes_;
  std::size_t position_;
};

}  // namespace mv
