#include "platform/PixelBuffer.h"

#include <sys/mman.h>

#include <cstring>
#include <new>
#include <utility>

namespace mv {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

PixelBuffer::PixelBuffer(std::size_t size) : size_(size) {
  if (size == 0) return;
  if (size < kHugeThreshold) {
    data_ = new uint8_t[size]();
    return;
  }
  // Over-allocate by one huge page so the data can start on a 2 MiB boundary.
  if (size > SIZE_MAX - kHugePage) throw std::bad_alloc();
  mappingSize_ = size + kHugePage;
  mapping_ = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping_ == MAP_FAILED) {
    mapping_ = nullptr;
    mappingSize_ = 0;
    size_ = 0;
    throw std::bad_alloc();
  }
  const auto start = reinterpret_cast<std::uintptr_t>(mapping_);
  const auto aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  data_ = reinterpret_cast<uint8_t*>(aligned);
  madvise(data_, (size + kHugePage - 1) & ~(kHugePage - 1), MADV_HUGEPAGE);
}

PixelBuffer::~PixelBuffer() { Release(); }

PixelBuffer::PixelBuffer(const PixelBuffer& other) : PixelBuffer(other.size_) {
  if (size_ != 0) std::memcpy(data_, other.data_, size_);
}

PixelBuffer& PixelBuffer::operator=(const PixelBuffer& other) {
  if (this == &other) return *this;
  if (size_ == other.size_) {
    if (size_ != 0) std::memcpy(data_, other.data_, size_);  // reuse the memory we hold
    return *this;
  }
  PixelBuffer copy(other);
  Swap(copy);
  return *this;
}

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept { Swap(other); }

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    Swap(other);
  }
  return *this;
}

void PixelBuffer::Release() noexcept {
  if (mapping_ != nullptr) {
    munmap(mapping_, mappingSize_);
  } else {
    delete[] data_;
  }
  data_ = nullptr;
  size_ = 0;
  mapping_ = nullptr;
  mappingSize_ = 0;
}

void PixelBuffer::Swap(PixelBuffer& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  std::swap(mapping_, other.mapping_);
  std::swap(mappingSize_, other.mappingSize_);
}

}  // namespace mv
