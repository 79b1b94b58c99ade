#include "codecs/LzwCheck.h"

#include "codecs/CodecError.h"

namespace mv {

namespace {

constexpr unsigned kMaxCodes = 4096;

// Follows the code width and the next free table entry as a decoder does.
class CodeTracker {
 public:
  explicit CodeTracker(unsigned minimumSize) : minimumSize_(minimumSize), clear_(1u << minimumSize) {
    Reset();
  }

  unsigned Width() const { return width_; }
  bool Ended() const { return ended_; }

  void Accept(unsigned code) {
    if (code == clear_) return Reset();
    if (code == clear_ + 1) {
      ended_ = true;
      return;
    }
    if (!hasPrevious_) {
      if (code > clear_) throw CodecError("GIF: LZW data starts with an undefined code");
      hasPrevious_ = true;
      return;
    }
    if (code > next_) throw CodecError("GIF: LZW code beyond the next free code");
    if (next_ < kMaxCodes) {
      ++next_;
      if (next_ == (1u << width_) && width_ < 12) ++width_;
    }
  }

 private:
  void Reset() {
    width_ = minimumSize_ + 1;
    next_ = clear_ + 2;
    hasPrevious_ = false;
  }

  unsigned minimumSize_;
  unsigned clear_;
  unsigned width_ = 0;
  unsigned next_ = 0;
  bool hasPrevious_ = false;
  bool ended_ = false;
};

}  // namespace

void CheckLzwData(const ByteSource& file, uint64_t start) {
  SourceReader in(file, start);
  const unsigned minimumSize = in.U8();
  if (minimumSize < 1 || minimumSize > 8) throw CodecError("GIF: LZW minimum code size out of range");
  CodeTracker codes(minimumSize);
  uint32_t bits = 0;
  unsigned bitCount = 0;
  for (;;) {
    const unsigned blockSize = in.U8();
    if (blockSize == 0) return;
    const std::span<const uint8_t> block = in.Take(blockSize);
    for (const uint8_t byte : block) {
      if (codes.Ended()) break;
      bits |= static_cast<uint32_t>(byte) << bitCount;
      bitCount += 8;
      while (bitCount >= codes.Width() && !codes.Ended()) {
        const unsigned width = codes.Width();
        codes.Accept(bits & ((1u << width) - 1));
        bits >>= width;
        bitCount -= width;
      }
    }
  }
}

}  // namespace mv
