#pragma once
// Byte storage for pixels. Large buffers are mapped on 2 MiB boundaries and marked for transparent
// huge pages, and their memory is kept for the next large buffers when released.
//
// Why keep it: on these machines memory that goes back to the system is soon handed back to the
// virtual machine's host, and faulting it in again costs about ten times a pass over it (55-70 ms
// for 36 MB against 5 ms for a copy into memory used before). A released mapping is therefore kept
// in a small process-wide reserve — at most kMaxKeptMappings of them and kMaxKeptBytes in all — and
// the next large buffer that fits takes it over. Reused memory is cleared unless the caller asks
// for unspecified contents because it writes every byte itself.

#include <cstddef>
#include <cstdint>

namespace mv {

class PixelBuffer {
 public:
  // What a new buffer holds: zero bytes; whatever its memory held before (for callers that write
  // every byte before anything reads it); or zero bytes in fresh memory that is made present at
  // once — for memory prepared ahead of need on a background thread, which thereby pays the page
  // faults and leaves the kept memory to buffers needed at once.
  enum class Fill { Zero, Unspecified, ZeroPrepared };

  PixelBuffer() = default;
  // Throws std::bad_alloc when the memory cannot be had.
  explicit PixelBuffer(std::size_t size, Fill fill = Fill::Zero);
  ~PixelBuffer();

  PixelBuffer(const PixelBuffer& other);
  PixelBuffer& operator=(const PixelBuffer& other);
  PixelBuffer(PixelBuffer&& other) noexcept;
  PixelBuffer& operator=(PixelBuffer&& other) noexcept;

  uint8_t* Data() { return data_; }
  const uint8_t* Data() const { return data_; }
  std::size_t Size() const { return size_; }

  // Buffers from this size on are mapped with huge pages and their memory is kept when released.
  static constexpr std::size_t kHugeThreshold = std::size_t{1} << 20;
  // Bounds of the reserve of released mappings.
  static constexpr std::size_t kMaxKeptMappings = 2;
  static constexpr std::size_t kMaxKeptBytes = std::size_t{256} << 20;
  // Bytes of released mappings kept for reuse now (for tests and measurements).
  static std::size_t KeptBytes();

  // For tests: while an object of this class lives, large buffers (from kHugeThreshold on) fail
  // with std::bad_alloc as if memory had run out — the `first`-th one asked for from then on
  // (counting from 1) and the `count` - 1 after it — so that tests can check that every operation
  // leaves its objects as they were. One at a time; the count is shared by all threads.
  class FailLargeAllocations {
   public:
    explicit FailLargeAllocations(uint64_t first, uint64_t count = 1);
    ~FailLargeAllocations();
    FailLargeAllocations(const FailLargeAllocations&) = delete;
    FailLargeAllocations& operator=(const FailLargeAllocations&) = delete;
    // Large buffers asked for so far, and how many of them were made to fail.
    uint64_t Requested() const;
    uint64_t Failed() const;
  };

 private:
  void Release() noexcept;
  void Swap(PixelBuffer& other) noexcept;

  uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t mappingSize_ = 0;  // bytes mapped at data_ when mapped (a multiple of 2 MiB), else 0
};

}  // namespace mv
