// Encoding of 24-bit JPEG files with libjpeg-turbo (YCbCr, 4:2:0, the library's standard tables
// scaled to the quality).

#include <algorithm>
#include <cstdlib>
#include <string>

#include "codecs/CodecError.h"
#include "codecs/FileBytes.h"
#include "codecs/JpegErrors.h"
#include "codecs/JpegImage.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

// libjpeg's memory destination grows its buffer with malloc; this frees it on every path.
struct MallocBuffer {
  unsigned char* data = nullptr;
  unsigned long size = 0;
  ~MallocBuffer() { std::free(data); }
};

class Encoder {
 public:
  Encoder() { info.err = &errors.manager; }
  ~Encoder() { jpeg_destroy_compress(&info); }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  [[noreturn]] void Throw() const { throw CodecError(std::string("JPEG: ") + errors.message); }

  // The whole compression; the image is 24-bit.
  bool Compress(const Bitmap& image, int quality, MallocBuffer* out) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out->data, &out->size);
    info.image_width = static_cast<JDIMENSION>(image.Width());
    info.image_height = static_cast<JDIMENSION>(image.Height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    constexpr int kBatch = 16;
    JSAMPROW rows[kBatch];
    while (info.next_scanline < info.image_height) {
      const JDIMENSION first = info.next_scanline;
      const JDIMENSION count = std::min<JDIMENSION>(kBatch, info.image_height - first);
      for (JDIMENSION i = 0; i < count; ++i)
        rows[i] = const_cast<JSAMPROW>(image.Row(static_cast<int>(first + i)));
      jpeg_write_scanlines(&info, rows, count);
    }
    jpeg_finish_compress(&info);
    return true;
  }

 private:
  jpeg_compress_struct info{};
  JpegErrors errors;
};

}  // namespace

std::vector<uint8_t> EncodeJpeg(const Bitmap& image, int quality) {
  if (quality < 1 || quality > 100) throw RangeError();
  if (image.IsEmpty()) throw CodecError("cannot write an empty image");
  if (image.Width() > 65500 || image.Height() > 65500) throw CodecError("image too large for a JPEG file");
  Bitmap converted;
  const bool is24 = image.Format() == PixelFormat::Bgr24;
  if (!is24) converted = image.ToBgr24();
  MallocBuffer buffer;
  Encoder encoder;
  if (!encoder.Compress(is24 ? image : converted, quality, &buffer)) encoder.Throw();
  return std::vector<uint8_t>(buffer.data, buffer.data + buffer.size);
}

void WriteJpegFile(const std::string& path, const Bitmap& image, int quality) {
  WriteImageFile(path, EncodeJpeg(image, quality));
}

}  // namespace mv
