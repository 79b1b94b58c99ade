#pragma once
// What the benchmarks that run libvips in-process share: libvips started for the benchmark's life, a
// 24-bit picture handed to it without a copy, and an operation's output evaluated into memory, as a
// program using libvips would for one command.

#include <vips/vips.h>

#include <cstddef>
#include <cstdio>
#include <stdexcept>

#include "platform/Bitmap.h"

namespace mv::bench {

class VipsSession {
 public:
  explicit VipsSession(const char* programName) : started_(VIPS_INIT(programName) == 0) {
    if (!started_) std::fprintf(stderr, "libvips did not start: %s\n", vips_error_buffer());
  }
  ~VipsSession() {
    if (started_) vips_shutdown();
  }
  VipsSession(const VipsSession&) = delete;
  VipsSession& operator=(const VipsSession&) = delete;

  bool Started() const { return started_; }

 private:
  bool started_;
};

// Three bands of bytes over the picture's own rows (a 4000-pixel row of 3 bytes has no padding).
inline VipsImage* WrapPicture(const Bitmap& picture) {
  VipsImage* image = vips_image_new_from_memory(picture.Row(0),
                                                picture.Stride() * static_cast<std::size_t>(picture.Height()),
                                                picture.Width(), picture.Height(), 3, VIPS_FORMAT_UCHAR);
  image->Type = VIPS_INTERPRETATION_sRGB;
  return image;
}

// The operation's output image evaluated into memory and released.
inline void EvaluateAndRelease(VipsImage* out) {
  if (out == nullptr) throw std::runtime_error(vips_error_buffer());
  std::size_t length = 0;
  void* memory = vips_image_write_to_memory(out, &length);
  g_object_unref(out);
  if (memory == nullptr) throw std::runtime_error(vips_error_buffer());
  g_free(memory);
}

}  // namespace mv::bench
