#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <utility>

namespace mv {

DynamicLibrary::DynamicLibrary(const std::string& path, bool keepCodeMapped) {
  // The loader would open a named pipe and wait for a writer; a path names a regular file or nothing.
  struct stat info {};
  if (path.find('/') != std::string::npos && (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))) {
    error_ = "not a library file: " + path;
    return;
  }
  int flags = RTLD_NOW | RTLD_LOCAL;
  if (keepCodeMapped) flags |= RTLD_NODELETE;
  handle_ = dlopen(path.c_str(), flags);
  if (handle_ == nullptr) {
    const char* why = dlerror();
    error_ = why != nullptr ? why : "cannot open " + path;
  }
}

DynamicLibrary::~DynamicLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) dlclose(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
    error_ = std::move(other.error_);
  }
  return *this;
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  return dlsym(handle_, name);
}

}  // namespace mv
