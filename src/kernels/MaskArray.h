#pragma once
// TMaskArray: a counted array of 32-bit weights, laid out in memory as
//   [int32 refcount][int32 count][element 0][element 1]...
// Data() points at element 0, so a library that receives only that pointer finds the count at
// Data()[-1] and the reference count at Data()[-2]. Both the program and the kernel library
// (mvfilters.so) include this header; it depends on nothing else of the project.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>

namespace mv {

class TMaskArray {
 public:
  // An array of `count` zeros with reference count 1 (std::length_error for a negative count).
  explicit TMaskArray(int32_t count = 0) : storage_(Allocate(count)) {}
  TMaskArray(std::initializer_list<int32_t> values) : TMaskArray(static_cast<int32_t>(values.size())) {
    std::copy(values.begin(), values.end(), Data());
  }

  TMaskArray(const TMaskArray& other) : storage_(Allocate(other.Count())) {
    std::copy(other.begin(), other.end(), Data());
  }
  TMaskArray& operator=(const TMaskArray& other) {
    if (this != &other) *this = TMaskArray(other);
    return *this;
  }
  TMaskArray(TMaskArray&&) noexcept = default;
  TMaskArray& operator=(TMaskArray&&) noexcept = default;

  // A moved-from array is empty.
  int32_t Count() const { return storage_ ? storage_[kCountSlot] : 0; }
  // The caller's reference count; a provider holds one more for the length of a call.
  int32_t RefCount() const { return storage_ ? storage_[kRefCountSlot] : 0; }

  int32_t* Data() { return storage_ ? storage_.get() + kHeaderSlots : nullptr; }
  const int32_t* Data() const { return storage_ ? storage_.get() + kHeaderSlots : nullptr; }
  int32_t& operator[](std::size_t i) { return Data()[i]; }
  int32_t operator[](std::size_t i) const { return Data()[i]; }
  int32_t* begin() { return Data(); }
  int32_t* end() { return Data() + Count(); }
  const int32_t* begin() const { return Data(); }
  const int32_t* end() const { return Data() + Count(); }

  std::span<int32_t> Elements() { return {Data(), static_cast<std::size_t>(Count())}; }
  std::span<const int32_t> Elements() const { return {Data(), static_cast<std::size_t>(Count())}; }

 private:
  static constexpr int kRefCountSlot = 0;
  static constexpr int kCountSlot = 1;
  static constexpr int kHeaderSlots = 2;

  static std::unique_ptr<int32_t[]> Allocate(int32_t count) {
    if (count < 0) throw std::length_error("negative kernel length");
    auto storage = std::make_unique<int32_t[]>(static_cast<std::size_t>(count) + kHeaderSlots);
    storage[kRefCountSlot] = 1;
    storage[kCountSlot] = count;
    return storage;
  }

  std::unique_ptr<int32_t[]> storage_;
};

}  // namespace mv
