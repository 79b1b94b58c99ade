#pragma once
// Running out of memory with a text that says for what: still a std::bad_alloc to every handler
// that catches one, and what() is the sentence the error box shows.

#include <cstdint>
#include <new>
#include <string>

namespace mv {

class OutOfMemoryError : public std::bad_alloc {
 public:
  explicit OutOfMemoryError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// "Out of memory for a 16384 x 16384 picture of 32 bits (1024 MiB)"
std::string PictureMemoryText(int64_t width, int64_t height, int bitsPerPixel, uint64_t bytes);

}  // namespace mv
