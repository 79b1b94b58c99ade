// Decoding of PNG files with libpng. libpng reports fatal errors by longjmp to the setjmp of the
// calling function; the functions below that call it own no C++ object with a destructor and answer
// false, and Load turns that into a CodecError.
//
// The file is read as libpng asks for it, and no further once the last row is complete: libpng
// would otherwise inflate whatever compressed data follows the rows to its end (gigabytes from a
// file of a few megabytes). An image data chunk cut off by the end of the file is given to libpng a
// byte at a time, so the file keeps every row whose data it holds.

#include <png.h>

#include <cstring>
#include <string>

#include "codecs/ByteSource.h"
#include "codecs/CodecError.h"
#include "codecs/PngImage.h"

namespace mv {

namespace {

constexpr std::size_t kSignatureSize = 8;
constexpr png_alloc_size_t kMaxChunkMemory = 8u << 20;
constexpr png_byte kIgnoredChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0"
    "sCAL\0sPLT\0sRGB\0sTER\0tEXt\0tIME\0zTXt";
constexpr int kIgnoredChunkCount = 18;
// The rows libpng decodes from the data: every row, or for an interlaced file the rows of each pass
// that has columns.
uint64_t RowsInData(png_uint_32 width, png_uint_32 height, bool interlaced) {
  if (!interlaced) return height;
  uint64_t rows = 0;
  for (int pass = 0; pass < 7; ++pass) {
    if (PNG_PASS_COLS(width, pass) != 0) rows += PNG_PASS_ROWS(height, pass);
  }
  return rows;
}

bool HasPngSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= kSignatureSize && png_sig_cmp(bytes.data(), 0, kSignatureSize) == 0;
}

class Decoder {
 public:
  Decoder(const ByteSource& file, const ImageLimits& limits) : reader_(file) {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning);
    if (png == nullptr) throw std::bad_alloc();
    info = png_create_info_struct(png);
    if (info == nullptr) {
      png_destroy_read_struct(&png, nullptr, nullptr);
      throw std::bad_alloc();
    }
    png_set_read_fn(png, this, ReadData);
    const auto side = static_cast<png_uint_32>(limits.maxSide);
    png_set_user_limits(png, side, side);
    png_set_chunk_malloc_max(png, kMaxChunkMemory);
    // Ancillary chunks the bitmap has no use for are skipped unread, whatever their length claims.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, kIgnoredChunkCount);
  }
  ~Decoder() { png_destroy_read_struct(&png, &info, nullptr); }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  [[noreturn]] void Throw() const { throw CodecError(std::string("PNG: ") + message_); }
  bool Truncated() const { return truncated_; }
  // Whether every row of the image has been decoded (libpng may have failed after that, when it
  // was refused the data that follows).
  bool Complete() const { return rowsExpected_ > 0 && rowsDecoded_ == rowsExpected_; }

  bool ReadInfo() {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    return true;
  }
  // Chooses the transformations to the bitmap's layout; `passes` receives the interlace pass count.
  bool SetUpTransforms(int* passes) {
    if (setjmp(png_jmpbuf(png))) return false;
    const int type = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (depth == 16) png_set_scale_16(png);
    if (depth == 2) png_set_packing(png);
    if (type & PNG_COLOR_MASK_COLOR) png_set_bgr(png);
    if (type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    *passes = png_set_interlace_handling(png);
    rowsExpected_ = RowsInData(png_get_image_width(png, info), png_get_image_height(png, info), *passes > 1);
    png_set_read_user_transform_fn(png, CountRow);
    png_read_update_info(png, info);
    return true;
  }
  bool ReadRow(png_bytep row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_row(png, row, nullptr);
    return true;
  }
  bool ReadPass(png_bytepp rows, png_uint_32 count) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_rows(png, rows, nullptr, count);
    return true;
  }

  png_structp png = nullptr;
  png_infop info = nullptr;

 private:
  static void OnError(png_structp png, png_const_charp text) {
    auto* self = static_cast<Decoder*>(png_get_error_ptr(png));
    std::strncpy(self->message_, text, sizeof self->message_ - 1);
    png_longjmp(png, 1);
  }
  static void OnWarning(png_structp, png_const_charp) {}
  static void ReadData(png_structp png, png_bytep out, size_t count) {
    auto* self = static_cast<Decoder*>(png_get_io_ptr(png));
    if (self->Complete()) png_error(png, "image complete");
    if (self->reader_.Read(out, count) != count) {
      self->truncated_ = true;
      png_error(png, "file is truncated");
    }
    // An image data chunk that the file cuts off is taken a byte at a time (libpng takes 8 KiB
    // pieces, and a piece that cannot be read whole would lose the rows in it).
    if (count == 8 && (png_get_io_state(png) & PNG_IO_CHUNK_HDR) != 0 &&
        std::memcmp(out + 4, "IDAT", 4) == 0 &&
        png_get_uint_32(out) + uint64_t{4} > self->reader_.Remaining()) {
      png_set_compression_buffer_size(png, 1);
    }
  }
  // A transformation that changes nothing and counts the rows decoded.
  static void CountRow(png_structp png, png_row_infop, png_bytep) {
    ++static_cast<Decoder*>(png_get_io_ptr(png))->rowsDecoded_;
  }

  SourceReader reader_;
  bool truncated_ = false;
  uint64_t rowsExpected_ = 0;
  uint64_t rowsDecoded_ = 0;
  char message_[200] = {};
};

PixelFormat FormatFor(int type, int depth) {
  if (type == PNG_COLOR_TYPE_RGB) return PixelFormat::Bgr24;
  if (type & PNG_COLOR_MASK_ALPHA) return PixelFormat::Bgrx32;
  if (depth == 1) return PixelFormat::Indexed1;
  if (depth == 4) return PixelFormat::Indexed4;
  return PixelFormat::Indexed8;  // 8 and 16 bits, and 2 bits before packing into 4
}

std::vector<PaletteEntry> PaletteOf(const Decoder& decoder, int type, int depth) {
  const std::size_t size = std::size_t{1} << std::min(depth, 8);
  std::vector<PaletteEntry> palette(size);
  if (type == PNG_COLOR_TYPE_PALETTE) {
    png_colorp colors = nullptr;
    int count = 0;
    if (png_get_PLTE(decoder.png, decoder.info, &colors, &count) != 0) {
      for (int i = 0; i < count && static_cast<std::size_t>(i) < size; ++i)
        palette[i] = PaletteEntry{colors[i].blue, colors[i].green, colors[i].red, 0};
    }
  } else {
    for (std::size_t i = 0; i < size; ++i) {
      const auto level = static_cast<uint8_t>(i * 255 / (size - 1));
      palette[i] = PaletteEntry{level, level, level, 0};
    }
  }
  return palette;
}

// Two-bit pixels arrive one per byte; the bitmap keeps them as 4-bit indexes.
Bitmap PackTo4Bits(const Bitmap& bytes) {
  Bitmap packed(bytes.Width(), bytes.Height(), PixelFormat::Indexed4);
  std::vector<PaletteEntry> palette = bytes.Palette();
  palette.resize(16);
  packed.SetPalette(std::move(palette));
  for (int y = 0; y < bytes.Height(); ++y)
    for (int x = 0; x < bytes.Width(); ++x) packed.SetIndexAt(x, y, bytes.Row(y)[x]);
  return packed;
}

// Non-interlaced rows one at a time, so a file cut off after some rows keeps them.
void ReadRows(Decoder& decoder, Bitmap& image) {
  for (int y = 0; y < image.Height(); ++y) {
    if (decoder.ReadRow(image.Row(y)) || decoder.Complete()) continue;
    if (decoder.Truncated() && y > 0) return;
    decoder.Throw();
  }
}

void ReadInterlaced(Decoder& decoder, Bitmap& image, int passes) {
  std::vector<png_bytep> rows(static_cast<std::size_t>(image.Height()));
  for (int y = 0; y < image.Height(); ++y) rows[y] = image.Row(y);
  for (int pass = 0; pass < passes && !decoder.Complete(); ++pass) {
    if (!decoder.ReadPass(rows.data(), static_cast<png_uint_32>(rows.size())) && !decoder.Complete())
      decoder.Throw();
  }
}

}  // namespace

void PngImage::LoadFromFile(const std::string& path) {
  Load(ByteSource::OpenFile(path));
}

void PngImage::LoadFromMemory(std::span<const uint8_t> bytes) {
  Load(ByteSource(bytes));
}

void PngImage::Load(const ByteSource& file) {
  if (!HasPngSignature(file.Head(kSignatureSize))) throw CodecError("not a PNG file");
  Decoder decoder(file, limits_);
  if (!decoder.ReadInfo()) decoder.Throw();
  const png_uint_32 width = png_get_image_width(decoder.png, decoder.info);
  const png_uint_32 height = png_get_image_height(decoder.png, decoder.info);
  CheckImageSize(width, height, limits_);
  const int type = png_get_color_type(decoder.png, decoder.info);
  const int depth = png_get_bit_depth(decoder.png, decoder.info);
  int passes = 1;
  if (!decoder.SetUpTransforms(&passes)) decoder.Throw();

  Bitmap image(static_cast<int>(width), static_cast<int>(height), FormatFor(type, depth));
  if (png_get_rowbytes(decoder.png, decoder.info) > image.Stride())
    throw CodecError("PNG: unexpected row layout");
  if (IsIndexed(image.Format())) image.SetPalette(PaletteOf(decoder, type, depth));
  if (passes > 1) {
    ReadInterlaced(decoder, image, passes);
  } else {
    ReadRows(decoder, image);
  }
  bitmap_ = depth == 2 ? PackTo4Bits(image) : std::move(image);
}

}  // namespace mv
