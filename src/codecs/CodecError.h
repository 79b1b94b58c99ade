#pragma once
// The failure of an image reader or writer: a file that is not of the codec's format, a corrupt or
// hostile file, an image beyond the size limits, or a file that cannot be written. what() is a short
// English description for the error box and the logs.

#include <stdexcept>
#include <string>

namespace mv {

class CodecError : public std::runtime_error {
 public:
  explicit CodecError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace mv
