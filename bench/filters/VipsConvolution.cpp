#include "VipsConvolution.h"

#include <vips/vips.h>

namespace mv {

namespace {

VipsImage* Mask(int width, int height, const std::vector<double>& weights, double scale) {
  VipsImage* mask =
      vips_image_new_matrix_from_array(width, height, weights.data(), static_cast<int>(weights.size()));
  vips_image_set_double(mask, "scale", scale);
  vips_image_set_double(mask, "offset", 0);
  return mask;
}

}  // namespace

void VipsConvolution::Conv(const Bitmap& picture, int side, const std::vector<int32_t>& weights,
                           double scale) const {
  VipsImage* mask = Mask(side, side, std::vector<double>(weights.begin(), weights.end()), scale);
  VipsImage* in = bench::WrapPicture(picture);
  VipsImage* out = nullptr;
  vips_conv(in, &out, mask, "precision", VIPS_PRECISION_INTEGER, nullptr);
  g_object_unref(in);
  g_object_unref(mask);
  bench::EvaluateAndRelease(out);
}

void VipsConvolution::BoxSeparable(const Bitmap& picture, int taps) const {
  VipsImage* mask = Mask(taps, 1, std::vector<double>(static_cast<std::size_t>(taps), 1.0), taps);
  VipsImage* in = bench::WrapPicture(picture);
  VipsImage* out = nullptr;
  vips_convsep(in, &out, mask, "precision", VIPS_PRECISION_INTEGER, nullptr);
  g_object_unref(in);
  g_object_unref(mask);
  bench::EvaluateAndRelease(out);
}

void VipsConvolution::Rank(const Bitmap& picture, int side, int index) const {
  VipsImage* in = bench::WrapPicture(picture);
  VipsImage* out = nullptr;
  vips_rank(in, &out, side, side, index, nullptr);
  g_object_unref(in);
  bench::EvaluateAndRelease(out);
}

}  // namespace mv
