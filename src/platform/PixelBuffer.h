#pragma once
// Zero-filled byte storage for pixels. Large buffers are mapped on 2 MiB boundaries and marked for
// transparent huge pages: first-touch page faults on a fresh 36 MB buffer otherwise cost about ten
// times a pass over it.

#include <cstddef>
#include <cstdint>

namespace mv {

class PixelBuffer {
 public:
  PixelBuffer() = default;
  // Throws std::bad_alloc when the memory cannot be had.
  explicit PixelBuffer(std::size_t size);
  ~PixelBuffer();

  PixelBuffer(const PixelBuffer& other);
  PixelBuffer& operator=(const PixelBuffer& other);
  PixelBuffer(PixelBuffer&& other) noexcept;
  PixelBuffer& operator=(PixelBuffer&& other) noexcept;

  uint8_t* Data() { return data_; }
  const uint8_t* Data() const { return data_; }
  std::size_t Size() const { return size_; }

  // Buffers from this size on are mapped with huge pages.
  static constexpr std::size_t kHugeThreshold = std::size_t{1} << 20;

 private:
  void Release() noexcept;
  void Swap(PixelBuffer& other) noexcept;

  uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  void* mapping_ = nullptr;  // start of the mmap region when mapped, else null (data_ came from new[])
  std::size_t mappingSize_ = 0;
};

}  // namespace mv
