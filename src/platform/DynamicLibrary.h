#pragma once
// A shared library opened by absolute path for the duration of one use: dlopen on construction,
// dlclose on destruction, on every path.

#include <string>

namespace mv {

class DynamicLibrary {
 public:
  // Opens the library at `path` with RTLD_NOW | RTLD_LOCAL (and RTLD_NODELETE when asked, for
  // libraries whose code must not be unmapped, such as ones built on a GUI toolkit).
  // A path with a folder part must name a regular file (a named pipe there would hold the loader).
  // Check IsLoaded(): a missing or unloadable file is not an exception.
  explicit DynamicLibrary(const std::string& path, bool keepCodeMapped = false);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;

  bool IsLoaded() const { return handle_ != nullptr; }
  // The loader's explanation when loading failed.
  const std::string& Error() const { return error_; }

  // The exported symbol, or nullptr when the library is not loaded or lacks it.
  void* Symbol(const char* name) const;
  template <typename F>
  F* Function(const char* name) const {
    return reinterpret_cast<F*>(Symbol(name));
  }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace mv
