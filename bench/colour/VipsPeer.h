#pragma once
// libvips in-process through its C API, on a 24-bit picture already in memory: each call builds the
// operation on an image wrapping the pixels and evaluates it into memory, as a program using
// libvips would for one command.

#include <functional>
#include <string>
#include <vector>

#include "../VipsImages.h"
#include "platform/Bitmap.h"

namespace mv {

class VipsPeer {
 public:
  explicit VipsPeer(const char* programName) : vips_(programName) {}

  // The name of each operation timed and a call that runs it once on `picture` (an empty list when
  // libvips cannot start).
  struct Operation {
    std::string name;
    std::function<void()> run;
  };
  std::vector<Operation> Operations(const Bitmap& picture) const;

 private:
  bench::VipsSession vips_;
};

}  // namespace mv
