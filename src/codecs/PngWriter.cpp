// Encoding of PNG files: libpng writes the chunks, the image data comes from PngRows. As in the
// reader, the function that calls libpng catches its fatal errors with setjmp and owns nothing with
// a destructor.

#include <png.h>

#include <cmath>
#include <cstring>
#include <ctime>
#include <string>

#include "codecs/CodecError.h"
#include "codecs/FileBytes.h"
#include "codecs/PngImage.h"
#include "codecs/PngRows.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

// Everything decided before libpng is called.
struct PngLayout {
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  std::vector<png_color> palette;
  std::vector<png_byte> paletteAlpha;  // tRNS of a palette image
  bool rgbTransparent = false;
  png_color_16 transparentRgb{};
};

int MaxIndexUsed(const Bitmap& image) {
  int highest = 0;
  for (int y = 0; y < image.Height(); ++y) {
    if (image.Format() == PixelFormat::Indexed8) {
      const uint8_t* row = image.Row(y);
      for (int x = 0; x < image.Width(); ++x) highest = std::max<int>(highest, row[x]);
    } else {
      for (int x = 0; x < image.Width(); ++x) highest = std::max(highest, image.IndexAt(x, y));
    }
  }
  return highest;
}

PngLayout LayoutFor(const Bitmap& image, const PngWriteOptions& options) {
  PngLayout layout;
  if (IsIndexed(image.Format())) {
    layout.colorType = PNG_COLOR_TYPE_PALETTE;
    layout.bitDepth = image.BitsPerPixel();
    // Every index a pixel uses must have a palette entry; missing ones are black.
    const std::size_t count =
        std::max<std::size_t>(image.Palette().size(), static_cast<std::size_t>(MaxIndexUsed(image)) + 1);
    const std::size_t limited = std::min<std::size_t>(count, std::size_t{1} << layout.bitDepth);
    for (std::size_t i = 0; i < limited; ++i) {
      const PaletteEntry e = i < image.Palette().size() ? image.Palette()[i] : PaletteEntry{};
      layout.palette.push_back(png_color{e.red, e.green, e.blue});
    }
    if (options.transparent) {
      const ColorRef c = *options.transparent;
      for (std::size_t i = 0; i < layout.palette.size(); ++i) {
        const png_color& p = layout.palette[i];
        if (p.red == RedOf(c) && p.green == GreenOf(c) && p.blue == BlueOf(c)) {
          layout.paletteAlpha.resize(i + 1, 255);
          layout.paletteAlpha[i] = 0;
        }
      }
    }
    return layout;
  }
  if (options.transparent) {
    const ColorRef c = *options.transparent;
    layout.rgbTransparent = true;
    layout.transparentRgb.red = RedOf(c);
    layout.transparentRgb.green = GreenOf(c);
    layout.transparentRgb.blue = BlueOf(c);
  }
  return layout;
}

constexpr std::size_t kIdatSize = std::size_t{1} << 20;

class Encoder {
 public:
  Encoder() {
    png = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning);
    if (png == nullptr) throw std::bad_alloc();
    info = png_create_info_struct(png);
    if (info == nullptr) {
      png_destroy_write_struct(&png, nullptr);
      throw std::bad_alloc();
    }
  }
  ~Encoder() { png_destroy_write_struct(&png, &info); }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  [[noreturn]] void Throw() const {
    if (outOfMemory_) throw std::bad_alloc();
    throw CodecError(std::string("PNG: ") + message_);
  }

  bool Encode(const Bitmap& image, const PngLayout& layout, const PngWriteOptions& options, std::time_t now,
              const std::vector<uint8_t>& data) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, this, WriteData, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width()), static_cast<png_uint_32>(image.Height()),
                 layout.bitDepth, layout.colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
      png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    if (!layout.paletteAlpha.empty())
      png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()),
                   nullptr);
    if (layout.rgbTransparent) png_set_tRNS(png, info, nullptr, 0, &layout.transparentRgb);
    if (options.gamma > 0) png_set_gAMA(png, info, 1.0 / options.gamma);
    if (options.writeTime) {
      png_time stamp;
      png_convert_from_time_t(&stamp, now);
      png_set_tIME(png, info, &stamp);
    }
    png_write_info(png, info);
    // The image data was filtered and compressed beforehand (on several threads for large images).
    for (std::size_t at = 0; at < data.size(); at += kIdatSize) {
      const std::size_t length = std::min(kIdatSize, data.size() - at);
      png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), data.data() + at, length);
    }
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    return true;
  }

  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<uint8_t> output;

 private:
  static void OnError(png_structp png, png_const_charp text) {
    auto* self = static_cast<Encoder*>(png_get_error_ptr(png));
    std::strncpy(self->message_, text, sizeof self->message_ - 1);
    png_longjmp(png, 1);
  }
  static void OnWarning(png_structp, png_const_charp) {}
  // A failed allocation must not unwind through libpng; it is reported after the jump instead.
  static void WriteData(png_structp png, png_bytep data, size_t count) {
    auto* self = static_cast<Encoder*>(png_get_io_ptr(png));
    bool failed = false;
    try {
      self->output.insert(self->output.end(), data, data + count);
    } catch (const std::bad_alloc&) {
      failed = true;
    }
    if (failed) {
      self->outOfMemory_ = true;
      png_error(png, "out of memory");
    }
  }

  bool outOfMemory_ = false;
  char message_[200] = {};
};

void CheckOptions(const PngWriteOptions& options) {
  if (options.compressionLevel < -1 || options.compressionLevel > 9) throw RangeError();
  if (options.filterSetting < 0 || options.filterSetting > 5) throw RangeError();
  if (!std::isfinite(options.gamma) || options.gamma < 0) throw RangeError();
}

}  // namespace

std::vector<uint8_t> EncodePng(const Bitmap& image, const PngWriteOptions& options) {
  CheckOptions(options);
  if (image.IsEmpty()) throw CodecError("cannot write an empty image");
  Bitmap converted;
  const bool needs24 = image.Format() == PixelFormat::Rgb555;
  if (needs24) converted = image.ToBgr24();
  const Bitmap& source = needs24 ? converted : image;
  const PngLayout layout = LayoutFor(source, options);
  const std::vector<uint8_t> data =
      CompressPngRows(source, static_cast<RowFilter>(options.filterSetting), options.compressionLevel);
  Encoder encoder;
  encoder.output.reserve(data.size() + 4096);
  if (!encoder.Encode(source, layout, options, std::time(nullptr), data)) encoder.Throw();
  return std::move(encoder.output);
}

void WritePngFile(const std::string& path, const Bitmap& image, const PngWriteOptions& options) {
  WriteImageFile(path, EncodePng(image, options));
}

}  // namespace mv
