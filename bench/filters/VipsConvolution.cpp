#include "VipsConvolution.h"

#include <vips/vips.h>

#include <cstdio>
#include <stdexcept>

namespace mv {

namespace {

void Evaluate(VipsImage* out) {
  if (out == nullptr) throw std::runtime_error(vips_error_buffer());
  std::size_t length = 0;
  void* memory = vips_image_write_to_memory(out, &length);
  g_object_unref(out);
  if (memory == nullptr) throw std::runtime_error(vips_error_buffer());
  g_free(memory);
}

VipsImage* Wrap(const Bitmap& picture) {
  VipsImage* image = vips_image_new_from_memory(picture.Row(0),
                                                picture.Stride() * static_cast<std::size_t>(picture.Height()),
                                                picture.Width(), picture.Height(), 3, VIPS_FORMAT_UCHAR);
  image->Type = VIPS_INTERPRETATION_sRGB;
  return image;
}

VipsImage* Mask(int width, int height, const std::vector<double>& weights, double scale) {
  VipsImage* mask =
      vips_image_new_matrix_from_array(width, height, weights.data(), static_cast<int>(weights.size()));
  vips_image_set_double(mask, "scale", scale);
  vips_image_set_double(mask, "offset", 0);
  return mask;
}

}  // namespace

VipsConvolution::VipsConvolution(const char* programName) {
  started_ = VIPS_INIT(programName) == 0;
  if (!started_) std::fprintf(stderr, "libvips did not start: %s\n", vips_error_buffer());
}

VipsConvolution::~VipsConvolution() {
  if (started_) vips_shutdown();
}

void VipsConvolution::Conv(const Bitmap& picture, int side, const std::vector<int32_t>& weights,
                           double scale) const {
  VipsImage* mask = Mask(side, side, std::vector<double>(weights.begin(), weights.end()), scale);
  VipsImage* in = Wrap(picture);
  VipsImage* out = nullptr;
  vips_conv(in, &out, mask, "precision", VIPS_PRECISION_INTEGER, nullptr);
  g_object_unref(in);
  g_object_unref(mask);
  Evaluate(out);
}

void VipsConvolution::BoxSeparable(const Bitmap& picture, int taps) const {
  VipsImage* mask = Mask(taps, 1, std::vector<double>(static_cast<std::size_t>(taps), 1.0), taps);
  VipsImage* in = Wrap(picture);
  VipsImage* out = nullptr;
  vips_convsep(in, &out, mask, "precision", VIPS_PRECISION_INTEGER, nullptr);
  g_object_unref(in);
  g_object_unref(mask);
  Evaluate(out);
}

void VipsConvolution::Rank(const Bitmap& picture, int side, int index) const {
  VipsImage* in = Wrap(picture);
  VipsImage* out = nullptr;
  vips_rank(in, &out, side, side, index, nullptr);
  g_object_unref(in);
  Evaluate(out);
}

}  // namespace mv
