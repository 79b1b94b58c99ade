#include "VipsPeer.h"

#include <vips/vips.h>

#include <array>
#include <cstdint>

namespace mv {

std::vector<VipsPeer::Operation> VipsPeer::Operations(const Bitmap& picture) const {
  if (!vips_.Started() || picture.Stride() != static_cast<std::size_t>(picture.Width()) * 3) return {};
  static std::array<uint8_t, 256> inverse;
  for (int i = 0; i < 256; ++i) inverse[static_cast<std::size_t>(i)] = static_cast<uint8_t>(255 - i);
  return {
      {"maplut (a 256-entry table)",
       [&picture] {
         VipsImage* in = bench::WrapPicture(picture);
         VipsImage* table =
             vips_image_new_from_memory(inverse.data(), inverse.size(), 256, 1, 1, VIPS_FORMAT_UCHAR);
         VipsImage* out = nullptr;
         vips_maplut(in, &out, table, nullptr);
         g_object_unref(table);
         g_object_unref(in);
         bench::EvaluateAndRelease(out);
       }},
      {"linear a x + b to bytes",
       [&picture] {
         VipsImage* in = bench::WrapPicture(picture);
         double a = 1.58, b = -74.24;
         VipsImage* out = nullptr;
         vips_linear(in, &out, &a, &b, 1, "uchar", TRUE, nullptr);
         g_object_unref(in);
         bench::EvaluateAndRelease(out);
       }},
      {"colourspace to B_W",
       [&picture] {
         VipsImage* in = bench::WrapPicture(picture);
         VipsImage* out = nullptr;
         vips_colourspace(in, &out, VIPS_INTERPRETATION_B_W, nullptr);
         g_object_unref(in);
         bench::EvaluateAndRelease(out);
       }},
      {"hist_find",
       [&picture] {
         VipsImage* in = bench::WrapPicture(picture);
         VipsImage* out = nullptr;
         vips_hist_find(in, &out, nullptr);
         g_object_unref(in);
         bench::EvaluateAndRelease(out);
       }},
      {"resize to half",
       [&picture] {
         VipsImage* in = bench::WrapPicture(picture);
         VipsImage* out = nullptr;
         vips_resize(in, &out, 0.5, nullptr);
         g_object_unref(in);
         bench::EvaluateAndRelease(out);
       }},
      {"shrink by 3",
       [&picture] {
         VipsImage* in = bench::WrapPicture(picture);
         VipsImage* out = nullptr;
         vips_shrink(in, &out, 3.0, 3.0, nullptr);
         g_object_unref(in);
         bench::EvaluateAndRelease(out);
       }},
      {"thumbnail_image to 188",
       [&picture] {
         VipsImage* in = bench::WrapPicture(picture);
         VipsImage* out = nullptr;
         vips_thumbnail_image(in, &out, 188, nullptr);
         g_object_unref(in);
         bench::EvaluateAndRelease(out);
       }},
  };
}

}  // namespace mv
