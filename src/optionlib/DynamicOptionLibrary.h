#pragma once
// The loader over the real option.so in the program folder.

#include <string>

#include "optionlib/OptionLibrary.h"

namespace mv {

class DynamicOptionLibrary : public OptionLibrary {
 public:
  explicit DynamicOptionLibrary(std::string programFolder) : programFolder_(std::move(programFolder)) {}
  // Opens <programFolder>/option.so. The library is built on a widget toolkit, so its code stays
  // mapped after the handle is released (unloading such code mid-run is unsafe).
  std::unique_ptr<OptionSession> Load() override;

 private:
  std::string programFolder_;
};

}  // namespace mv
