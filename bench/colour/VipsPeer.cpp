#include "VipsPeer.h"

#include <vips/vips.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace mv {

namespace {

// The operation's output image evaluated into memory and released.
void Evaluate(VipsImage* out) {
  if (out == nullptr) throw std::runtime_error(vips_error_buffer());
  std::size_t length = 0;
  void* memory = vips_image_write_to_memory(out, &length);
  g_object_unref(out);
  if (memory == nullptr) throw std::runtime_error(vips_error_buffer());
  g_free(memory);
}

VipsImage* Wrap(const Bitmap& picture) {
  // Three bands of bytes, rows without padding (4000 x 3 bytes is a multiple of four).
  VipsImage* image = vips_image_new_from_memory(picture.Row(0),
                                                picture.Stride() * static_cast<std::size_t>(picture.Height()),
                                                picture.Width(), picture.Height(), 3, VIPS_FORMAT_UCHAR);
  image->Type = VIPS_INTERPRETATION_sRGB;
  return image;
}

}  // namespace

VipsPeer::VipsPeer(const char* programName) {
  started_ = VIPS_INIT(programName) == 0;
  if (!started_) std::fprintf(stderr, "libvips did not start: %s\n", vips_error_buffer());
}

VipsPeer::~VipsPeer() {
  if (started_) vips_shutdown();
}

std::vector<VipsPeer::Operation> VipsPeer::Operations(const Bitmap& picture) const {
  if (!started_ || picture.Stride() != static_cast<std::size_t>(picture.Width()) * 3) return {};
  static std::array<uint8_t, 256> inverse;
  for (int i = 0; i < 256; ++i) inverse[static_cast<std::size_t>(i)] = static_cast<uint8_t>(255 - i);
  return {
      {"maplut (a 256-entry table)",
       [&picture] {
         VipsImage* in = Wrap(picture);
         VipsImage* table =
             vips_image_new_from_memory(inverse.data(), inverse.size(), 256, 1, 1, VIPS_FORMAT_UCHAR);
         VipsImage* out = nullptr;
         vips_maplut(in, &out, table, nullptr);
         g_object_unref(table);
         g_object_unref(in);
         Evaluate(out);
       }},
      {"linear a x + b to bytes",
       [&picture] {
         VipsImage* in = Wrap(picture);
         double a = 1.58, b = -74.24;
         VipsImage* out = nullptr;
         vips_linear(in, &out, &a, &b, 1, "uchar", TRUE, nullptr);
         g_object_unref(in);
         Evaluate(out);
       }},
      {"colourspace to B_W",
       [&picture] {
         VipsImage* in = Wrap(picture);
         VipsImage* out = nullptr;
         vips_colourspace(in, &out, VIPS_INTERPRETATION_B_W, nullptr);
         g_object_unref(in);
         Evaluate(out);
       }},
      {"hist_find",
       [&picture] {
         VipsImage* in = Wrap(picture);
         VipsImage* out = nullptr;
         vips_hist_find(in, &out, nullptr);
         g_object_unref(in);
         Evaluate(out);
       }},
      {"resize to half",
       [&picture] {
         VipsImage* in = Wrap(picture);
         VipsImage* out = nullptr;
         vips_resize(in, &out, 0.5, nullptr);
         g_object_unref(in);
         Evaluate(out);
       }},
      {"shrink by 3",
       [&picture] {
         VipsImage* in = Wrap(picture);
         VipsImage* out = nullptr;
         vips_shrink(in, &out, 3.0, 3.0, nullptr);
         g_object_unref(in);
         Evaluate(out);
       }},
      {"thumbnail_image to 188",
       [&picture] {
         VipsImage* in = Wrap(picture);
         VipsImage* out = nullptr;
         vips_thumbnail_image(in, &out, 188, nullptr);
         g_object_unref(in);
         Evaluate(out);
       }},
  };
}

}  // namespace mv
