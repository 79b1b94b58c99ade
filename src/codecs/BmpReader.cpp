// Reading of bitmap files. Every size is checked against the file length in 64 bits before pixel
// memory is allocated; RLE runs are clipped at the row end and deltas that leave the bitmap are refused.
// Only the headers, the colour table and the pixel rows are read, whatever else the file holds.

#include <algorithm>
#include <bit>
#include <cstring>

#include "codecs/BmpImage.h"
#include "codecs/ByteReader.h"
#include "codecs/ByteSource.h"
#include "codecs/CodecError.h"

namespace mv {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
// The file header, the longest info header and the bit-field masks that may follow a short one.
constexpr std::size_t kHeadSize = kFileHeaderSize + 124 + 16;
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

struct BmpHeader {
  uint32_t headerSize = 0;
  int64_t width = 0;
  int64_t height = 0;  // positive
  bool topDown = false;
  unsigned planes = 0;
  unsigned bitCount = 0;
  uint32_t compression = kRgb;
  uint32_t colorsUsed = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool hasMasks = false;
  std::size_t paletteEntrySize = 4;
  std::size_t paletteOffset = 0;  // where the colour table starts in the file
};

bool IsWindowsHeaderSize(uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

BmpHeader ReadCoreHeader(ByteReader& in) {
  BmpHeader h;
  h.headerSize = 12;
  h.width = in.U16();
  h.height = in.U16();
  h.planes = in.U16();
  h.bitCount = in.U16();
  h.paletteEntrySize = 3;
  return h;
}

// BITMAPINFOHEADER and its longer versions, and the OS/2 2.x header whose fields after the first
// sixteen bytes may be left out (they read as zero).
BmpHeader ReadInfoHeader(std::span<const uint8_t> file, uint32_t headerSize) {
  uint8_t fields[124] = {};
  std::memcpy(fields, file.data() + kFileHeaderSize, std::min<uint32_t>(headerSize, 124));
  ByteReader in(std::span<const uint8_t>(fields, sizeof fields), 4);
  BmpHeader h;
  h.headerSize = headerSize;
  h.width = in.I32();
  const int32_t height = in.I32();
  if (height == INT32_MIN) throw CodecError("invalid bitmap height");
  h.topDown = height < 0;
  h.height = height < 0 ? -static_cast<int64_t>(height) : height;
  h.planes = in.U16();
  h.bitCount = in.U16();
  h.compression = in.U32();
  in.Skip(12);  // image size, resolution
  h.colorsUsed = in.U32();
  in.Skip(4);  // important colours
  const bool os2 = !IsWindowsHeaderSize(headerSize);
  if (os2 && h.compression > kRle4) throw CodecError("unsupported OS/2 bitmap compression");
  if (!os2 && headerSize >= 52) {
    for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i) h.masks[i] = in.U32();
    h.hasMasks = true;
  }
  return h;
}

BmpHeader ReadHeaders(std::span<const uint8_t> file) {
  ByteReader in(file, kFileHeaderSize);
  const uint32_t headerSize = in.U32();
  const bool valid =
      headerSize == 12 || (headerSize >= 16 && headerSize <= 64) || IsWindowsHeaderSize(headerSize);
  if (!valid) throw CodecError("invalid bitmap header size");
  if (headerSize > file.size() - kFileHeaderSize) throw CodecError("file is truncated");
  BmpHeader h = headerSize == 12 ? ReadCoreHeader(in) : ReadInfoHeader(file, headerSize);
  h.paletteOffset = kFileHeaderSize + headerSize;
  // BITMAPINFOHEADER keeps its bit-field masks after the header.
  if (headerSize == 40 && (h.compression == kBitFields || h.compression == kAlphaBitFields)) {
    ByteReader masks(file, h.paletteOffset);
    const int count = h.compression == kAlphaBitFields ? 4 : 3;
    for (int i = 0; i < count; ++i) h.masks[i] = masks.U32();
    h.hasMasks = true;
    h.paletteOffset += 4 * static_cast<std::size_t>(count);
  }
  return h;
}

void CheckHeader(const BmpHeader& h) {
  if (h.planes != 1) throw CodecError("bitmap planes must be 1");
  switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      throw CodecError("unsupported bits per pixel");
  }
  const uint32_t c = h.compression;
  const bool fits = c == kRgb || (c == kRle8 && h.bitCount == 8) || (c == kRle4 && h.bitCount == 4) ||
                    ((c == kBitFields || c == kAlphaBitFields) && (h.bitCount == 16 || h.bitCount == 32));
  if (!fits) throw CodecError("unsupported bitmap compression");
  if ((c == kRle8 || c == kRle4) && h.topDown) throw CodecError("compressed bitmaps cannot be top-down");
}

std::vector<PaletteEntry> ReadPalette(const ByteSource& file, const BmpHeader& h, uint64_t pixelOffset) {
  const std::size_t full = std::size_t{1} << h.bitCount;
  std::size_t count = h.colorsUsed == 0 ? full : std::min<std::size_t>(h.colorsUsed, full);
  if (pixelOffset >= h.paletteOffset)
    count = static_cast<std::size_t>(
        std::min<uint64_t>(count, (pixelOffset - h.paletteOffset) / h.paletteEntrySize));
  std::vector<PaletteEntry> palette(full);
  const std::vector<uint8_t> table = file.Bytes(h.paletteOffset, count * h.paletteEntrySize);
  ByteReader in(table);
  for (std::size_t i = 0; i < count; ++i) {
    const std::span<const uint8_t> e = in.Take(h.paletteEntrySize);
    palette[i] = PaletteEntry{e[0], e[1], e[2], 0};
  }
  return palette;
}

// One channel of a bit-field pixel: where it sits and how wide it is.
struct Channel {
  unsigned shift = 0;
  unsigned bits = 0;

  explicit Channel(uint32_t mask, unsigned pixelBits) {
    if (mask == 0) throw CodecError("bit-field mask is zero");
    if (pixelBits < 32 && (mask >> pixelBits) != 0) throw CodecError("bit-field mask outside the pixel");
    shift = static_cast<unsigned>(std::countr_zero(mask));
    bits = static_cast<unsigned>(std::popcount(mask));
    if ((mask >> shift) != (bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1))
      throw CodecError("bit-field mask has gaps");
  }
  uint8_t Extract(uint32_t pixel) const {
    const uint32_t value = bits == 32 ? pixel : (pixel >> shift) & ((1u << bits) - 1);
    if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
    const uint32_t max = (1u << bits) - 1;
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
  }
};

uint32_t LoadPixel(const uint8_t* p, unsigned bitCount) {
  if (bitCount == 16) return static_cast<uint32_t>(p[0] | (p[1] << 8));
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The format the pixels are stored in when the masks are the standard 5-5-5 or 8-8-8 ones.
bool MasksAreNative(const BmpHeader& h) {
  if (h.bitCount == 16) return h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 && h.masks[2] == 0x001F;
  return h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF;
}

PixelFormat FormatOf(const BmpHeader& h) {
  switch (h.bitCount) {
    case 1:
      return PixelFormat::Indexed1;
    case 4:
      return PixelFormat::Indexed4;
    case 8:
      return PixelFormat::Indexed8;
    case 16:
      return (h.compression == kRgb || MasksAreNative(h)) ? PixelFormat::Rgb555 : PixelFormat::Bgr24;
    case 24:
      return PixelFormat::Bgr24;
    default:
      return PixelFormat::Bgrx32;
  }
}

int BitmapRow(const BmpHeader& h, int64_t fileRow) {
  return static_cast<int>(h.topDown ? fileRow : h.height - 1 - fileRow);
}

// Reads a row's bytes at `offset`; CodecError when the file ends first.
void ReadFileRow(const ByteSource& file, uint64_t offset, std::span<uint8_t> row) {
  if (file.ReadAt(offset, row) != row.size()) throw CodecError("bitmap pixel data is truncated");
}

void ReadUncompressed(const ByteSource& file, uint64_t offset, const BmpHeader& h, Bitmap& out) {
  const uint64_t rowBytes = (static_cast<uint64_t>(h.width) * h.bitCount + 31) / 32 * 4;
  const uint64_t lastRowBytes = (static_cast<uint64_t>(h.width) * h.bitCount + 7) / 8;
  const uint64_t needed = rowBytes * static_cast<uint64_t>(h.height - 1) + lastRowBytes;
  if (needed > file.Size() - offset) throw CodecError("bitmap pixel data is truncated");
  const bool direct = h.bitCount <= 8 || h.compression == kRgb || MasksAreNative(h);
  if (direct) {
    for (int64_t r = 0; r < h.height; ++r) {
      const std::size_t bytes = static_cast<std::size_t>(r == h.height - 1 ? lastRowBytes : rowBytes);
      ReadFileRow(file, offset + r * rowBytes,
                  std::span(out.Row(BitmapRow(h, r)), std::min<std::size_t>(bytes, out.Stride())));
    }
    return;
  }
  const Channel red(h.masks[0], h.bitCount), green(h.masks[1], h.bitCount), blue(h.masks[2], h.bitCount);
  const int outBytes = out.BitsPerPixel() / 8;
  const unsigned inBytes = h.bitCount / 8;
  std::vector<uint8_t> fileRow(static_cast<std::size_t>(lastRowBytes));
  for (int64_t r = 0; r < h.height; ++r) {
    ReadFileRow(file, offset + r * rowBytes, fileRow);
    const uint8_t* in = fileRow.data();
    uint8_t* row = out.Row(BitmapRow(h, r));
    for (int64_t x = 0; x < h.width; ++x) {
      const uint32_t pixel = LoadPixel(in + x * inBytes, h.bitCount);
      uint8_t* p = row + x * outBytes;
      p[0] = blue.Extract(pixel);
      p[1] = green.Extract(pixel);
      p[2] = red.Extract(pixel);
    }
  }
}

// Run-length encoded 4- and 8-bit pixels. Pixels not reached by the data stay index 0.
class RleDecoder {
 public:
  RleDecoder(const BmpHeader& h, Bitmap& out) : h_(h), out_(out) {}

  void Decode(SourceReader in) {
    while (in.Remaining() >= 2 && y_ < h_.height) {
      const unsigned count = in.U8();
      const unsigned code = in.U8();
      if (count > 0) {
        for (unsigned i = 0; i < count; ++i) Put(h_.bitCount == 8 ? code : (i & 1 ? code & 15 : code >> 4));
      } else if (code == 0) {
        x_ = 0;
        ++y_;
      } else if (code == 1) {
        return;
      } else if (code == 2) {
        x_ += in.U8();
        y_ += in.U8();
        if (x_ > h_.width || y_ > h_.height) throw CodecError("RLE delta leaves the bitmap");
      } else {
        ReadAbsolute(in, code);
      }
    }
  }

 private:
  void ReadAbsolute(SourceReader& in, unsigned count) {
    const std::size_t bytes = h_.bitCount == 8 ? count : (count + 1) / 2;
    const std::span<const uint8_t> data = in.Take(bytes + (bytes & 1));
    for (unsigned i = 0; i < count; ++i) {
      Put(h_.bitCount == 8 ? data[i] : (i & 1 ? data[i / 2] & 15 : data[i / 2] >> 4));
    }
  }
  // Runs past the row end are clipped, as Windows draws them.
  void Put(unsigned index) {
    if (x_ < h_.width && y_ < h_.height)
      out_.SetIndexAt(static_cast<int>(x_), BitmapRow(h_, y_), static_cast<int>(index));
    ++x_;
  }

  const BmpHeader& h_;
  Bitmap& out_;
  int64_t x_ = 0;
  int64_t y_ = 0;
};

}  // namespace

void BmpImage::LoadFromFile(const std::string& path) {
  Load(ByteSource::OpenFile(path));
}

void BmpImage::LoadFromMemory(std::span<const uint8_t> bytes) {
  Load(ByteSource(bytes));
}

void BmpImage::Load(const ByteSource& file) {
  const std::vector<uint8_t> head = file.Head(kHeadSize);
  if (head.size() < 2 || head[0] != 'B' || head[1] != 'M') throw CodecError("not a BMP file");
  if (head.size() < kFileHeaderSize + 4) throw CodecError("file is truncated");
  // The head holds the whole file or more than any header needs, so its checks are the file's.
  const BmpHeader h = ReadHeaders(head);
  CheckHeader(h);
  CheckImageSize(h.width, h.height, limits_);
  uint64_t offset = ByteReader(head, 10).U32();
  if (offset == 0)
    offset = h.paletteOffset + (h.bitCount <= 8 ? (std::size_t{1} << h.bitCount) * h.paletteEntrySize : 0);
  if (offset < kFileHeaderSize + h.headerSize) throw CodecError("bitmap pixel offset inside the header");
  if (offset >= file.Size()) throw CodecError("bitmap pixel offset beyond the end of the file");
  if (h.hasMasks && h.compression != kRgb) {
    // Validates the masks before any pixel memory is taken.
    for (int i = 0; i < 3; ++i) Channel(h.masks[i], h.bitCount);
  }
  std::vector<PaletteEntry> palette;
  if (h.bitCount <= 8) palette = ReadPalette(file, h, offset);

  Bitmap image(static_cast<int>(h.width), static_cast<int>(h.height), FormatOf(h));
  if (h.bitCount <= 8) image.SetPalette(std::move(palette));
  if (h.compression == kRle8 || h.compression == kRle4) {
    RleDecoder(h, image).Decode(SourceReader(file, offset));
  } else {
    ReadUncompressed(file, offset, h, image);
  }
  bitmap_ = std::move(image);
}

}  // namespace mv
