#include "platform/PixelBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>
#include <type_traits>
#include <utility>

namespace mv {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundToHugePages(std::size_t size) {
  return (size + kHugePage - 1) & ~(kHugePage - 1);
}

struct Mapping {
  uint8_t* start = nullptr;  // on a 2 MiB boundary
  std::size_t size = 0;      // a multiple of 2 MiB
};

// Maps `size` bytes (a multiple of 2 MiB) starting on a 2 MiB boundary, marked for huge pages.
Mapping MapAligned(std::size_t size) {
  if (size > SIZE_MAX - kHugePage) throw std::bad_alloc();
  const std::size_t over = size + kHugePage;
  void* raw = mmap(nullptr, over, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  // Give back the parts before and after the aligned range.
  const auto first = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (first + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
  if (aligned > first) munmap(raw, aligned - first);
  const std::uintptr_t end = first + over, alignedEnd = aligned + size;
  if (end > alignedEnd) munmap(reinterpret_cast<void*>(alignedEnd), end - alignedEnd);
  auto* start = reinterpret_cast<uint8_t*>(aligned);
  madvise(start, size, MADV_HUGEPAGE);
  return {start, size};
}

// Makes every page of a fresh mapping present.
void FaultIn(const Mapping& mapping) {
  if (madvise(mapping.start, mapping.size, MADV_POPULATE_WRITE) == 0) return;
  // Kernels before 5.14 lack the advice: write each page's first byte (fresh pages are zero).
  const auto pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  for (std::size_t offset = 0; offset < mapping.size; offset += pageSize) mapping.start[offset] = 0;
}

// Released mappings kept for the next large buffers; see PixelBuffer.h for why. Oldest first.
// Its members need no destruction, so buffers released during the program's exit still find it;
// what it keeps then goes back to the system with the process.
class MappingReserve {
 public:
  static MappingReserve& Process() {
    static MappingReserve reserve;
    return reserve;
  }

  // The smallest kept mapping that holds `size` bytes (a multiple of 2 MiB) without being more than
  // a quarter larger, so that a small buffer does not tie up a large mapping.
  std::optional<Mapping> Take(std::size_t size) {
    const std::lock_guard lock(mutex_);
    std::size_t best = count_;
    for (std::size_t i = 0; i < count_; ++i) {
      const std::size_t s = kept_[i].size;
      if (s >= size && s - size <= size / 4 && (best == count_ || s < kept_[best].size)) best = i;
    }
    if (best == count_) return std::nullopt;
    const Mapping taken = kept_[best];
    RemoveAt(best);
    return taken;
  }

  // Keeps the mapping, giving the oldest ones back to the system past the bounds.
  void Give(Mapping mapping) noexcept {
    if (mapping.size > PixelBuffer::kMaxKeptBytes) {
      munmap(mapping.start, mapping.size);
      return;
    }
    const std::lock_guard lock(mutex_);
    while (count_ > 0 && (count_ == kept_.size() || bytes_ + mapping.size > PixelBuffer::kMaxKeptBytes)) {
      munmap(kept_[0].start, kept_[0].size);
      RemoveAt(0);
    }
    kept_[count_++] = mapping;
    bytes_ += mapping.size;
  }

  std::size_t Bytes() {
    const std::lock_guard lock(mutex_);
    return bytes_;
  }

 private:
  void RemoveAt(std::size_t i) {
    bytes_ -= kept_[i].size;
    for (std::size_t j = i + 1; j < count_; ++j) kept_[j - 1] = kept_[j];
    --count_;
  }

  std::mutex mutex_;
  std::array<Mapping, PixelBuffer::kMaxKeptMappings> kept_{};
  std::size_t count_ = 0;
  std::size_t bytes_ = 0;
};

static_assert(std::is_trivially_destructible_v<MappingReserve>);

// The failures tests ask for (FailLargeAllocations): the only mutable state besides the reserve,
// and inert unless a test sets it.
struct AllocationFailures {
  std::atomic<bool> active{false};
  std::atomic<uint64_t> requested{0};
  std::atomic<uint64_t> failed{0};
  uint64_t first = 0;
  uint64_t count = 0;

  static AllocationFailures& Process() {
    static AllocationFailures failures;
    return failures;
  }
  void CheckNext() {
    if (!active.load()) return;
    const uint64_t number = ++requested;
    if (number >= first && number - first < count) {
      ++failed;
      throw std::bad_alloc();
    }
  }
};

}  // namespace

PixelBuffer::FailLargeAllocations::FailLargeAllocations(uint64_t first, uint64_t count) {
  AllocationFailures& failures = AllocationFailures::Process();
  failures.requested = 0;
  failures.failed = 0;
  failures.first = first;
  failures.count = count;
  failures.active = true;
}

PixelBuffer::FailLargeAllocations::~FailLargeAllocations() {
  AllocationFailures::Process().active = false;
}

uint64_t PixelBuffer::FailLargeAllocations::Requested() const {
  return AllocationFailures::Process().requested;
}

uint64_t PixelBuffer::FailLargeAllocations::Failed() const {
  return AllocationFailures::Process().failed;
}

PixelBuffer::PixelBuffer(std::size_t size, Fill fill) : size_(size) {
  if (size == 0) return;
  if (size < kHugeThreshold) {
    data_ = new uint8_t[size]();
    return;
  }
  AllocationFailures::Process().CheckNext();
  const std::size_t needed = RoundToHugePages(size);
  if (needed < size) throw std::bad_alloc();
  if (fill == Fill::ZeroPrepared) {
    const Mapping fresh = MapAligned(needed);
    data_ = fresh.start;
    mappingSize_ = fresh.size;
    FaultIn(fresh);
    return;
  }
  if (const std::optional<Mapping> kept = MappingReserve::Process().Take(needed)) {
    data_ = kept->start;
    mappingSize_ = kept->size;
    if (fill == Fill::Zero) std::memset(data_, 0, size_);  // it holds an earlier buffer's bytes
    return;
  }
  const Mapping fresh = MapAligned(needed);  // fresh pages read as zero
  data_ = fresh.start;
  mappingSize_ = fresh.size;
}

PixelBuffer::~PixelBuffer() {
  Release();
}

PixelBuffer::PixelBuffer(const PixelBuffer& other) : PixelBuffer(other.size_, Fill::Unspecified) {
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

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept {
  Swap(other);
}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    Swap(other);
  }
  return *this;
}

std::size_t PixelBuffer::KeptBytes() {
  return MappingReserve::Process().Bytes();
}

void PixelBuffer::Release() noexcept {
  if (mappingSize_ != 0) {
    MappingReserve::Process().Give({data_, mappingSize_});
  } else {
    delete[] data_;
  }
  data_ = nullptr;
  size_ = 0;
  mappingSize_ = 0;
}

void PixelBuffer::Swap(PixelBuffer& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  std::swap(mappingSize_, other.mappingSize_);
}

}  // namespace mv
