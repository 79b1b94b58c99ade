#include "codecs/PngRows.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "codecs/CodecError.h"
#include "platform/Parallel.h"
#include "platform/PixelBuffer.h"

namespace mv {

namespace {

constexpr std::size_t kWindow = 32768;
constexpr std::size_t kMinPartBytes = std::size_t{1} << 20;

int Paeth(int left, int up, int upLeft) {
  const int p = left + up - upLeft;
  const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
  if (pa <= pb && pa <= pc) return left;
  return pb <= pc ? up : upLeft;
}

void ApplyFilter(RowFilter filter, const uint8_t* row, const uint8_t* above, std::size_t length,
                 std::size_t bpp, uint8_t* out) {
  switch (filter) {
    case RowFilter::None:
      std::copy(row, row + length, out);
      return;
    case RowFilter::Sub:
      for (std::size_t i = 0; i < length; ++i) out[i] = uint8_t(row[i] - (i >= bpp ? row[i - bpp] : 0));
      return;
    case RowFilter::Up:
      for (std::size_t i = 0; i < length; ++i) out[i] = uint8_t(row[i] - above[i]);
      return;
    case RowFilter::Average:
      for (std::size_t i = 0; i < length; ++i)
        out[i] = uint8_t(row[i] - (((i >= bpp ? row[i - bpp] : 0) + above[i]) >> 1));
      return;
    default:
      for (std::size_t i = 0; i < length; ++i) {
        const int left = i >= bpp ? row[i - bpp] : 0, upLeft = i >= bpp ? above[i - bpp] : 0;
        out[i] = uint8_t(row[i] - Paeth(left, above[i], upLeft));
      }
  }
}

uint64_t SignedSum(const uint8_t* bytes, std::size_t length) {
  uint64_t sum = 0;
  for (std::size_t i = 0; i < length; ++i) sum += bytes[i] < 128 ? bytes[i] : 256 - bytes[i];
  return sum;
}

std::size_t BytesPerPixel(const Bitmap& image) {
  return IsIndexed(image.Format()) ? 1 : 3;
}

// Filters rows [first, last) into out (one filter byte and the row each).
void FilterRows(const Bitmap& image, RowFilter filter, int first, int last, uint8_t* out) {
  const std::size_t length = PngRowBytes(image), bpp = BytesPerPixel(image);
  std::vector<uint8_t> above(length, 0), row(length);
  if (first > 0) ToPngRow(image, first - 1, above.data());
  for (int y = first; y < last; ++y, out += length + 1) {
    ToPngRow(image, y, row.data());
    FilterRow(filter, row.data(), above.data(), length, bpp, out);
    above.swap(row);
  }
}

// One part of the stream: raw deflate of its bytes, ending byte-aligned unless it is the last.
struct Part {
  const uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t dictionary = 0;  // bytes before `data` that serve as its dictionary
  bool last = false;
  std::vector<uint8_t> output;
  uLong adler = 1;
};

void Deflate(Part& part, int level, int strategy) {
  z_stream stream{};
  if (deflateInit2(&stream, level, Z_DEFLATED, -15, 8, strategy) != Z_OK) throw std::bad_alloc();
  struct End {
    z_stream* s;
    ~End() { deflateEnd(s); }
  } end{&stream};
  if (part.dictionary > 0)
    deflateSetDictionary(&stream, part.data - part.dictionary, static_cast<uInt>(part.dictionary));
  part.output.resize(deflateBound(&stream, static_cast<uLong>(part.size)) + 16);
  stream.next_in = const_cast<Bytef*>(part.data);
  stream.avail_in = static_cast<uInt>(part.size);
  stream.next_out = part.output.data();
  stream.avail_out = static_cast<uInt>(part.output.size());
  const int result = deflate(&stream, part.last ? Z_FINISH : Z_SYNC_FLUSH);
  if (result != (part.last ? Z_STREAM_END : Z_OK) || stream.avail_in != 0)
    throw CodecError("PNG: compression failed");
  part.output.resize(stream.total_out);
  part.adler = adler32(1, part.data, static_cast<uInt>(part.size));
}

// Runs work(i) for i in [0, count), one thread each.
template <typename Work>
void RunInParallel(std::size_t count, Work work) {
  ParallelFor(count, static_cast<int>(count), [&](std::size_t i, std::size_t) { work(i); });
}

std::vector<uint8_t> ZlibHeader(int level) {
  const int levelBits = level == -1 ? 2 : level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
  const int cmf = 0x78, flg = levelBits << 6;
  return {uint8_t(cmf), uint8_t(flg + (31 - (cmf * 256 + flg) % 31) % 31)};
}

}  // namespace

std::size_t PngRowBytes(const Bitmap& image) {
  if (IsIndexed(image.Format()))
    return (static_cast<std::size_t>(image.Width()) * image.BitsPerPixel() + 7) / 8;
  return static_cast<std::size_t>(image.Width()) * 3;
}

void ToPngRow(const Bitmap& image, int y, uint8_t* out) {
  const uint8_t* in = image.Row(y);
  switch (image.Format()) {
    case PixelFormat::Bgr24:
      for (int x = 0; x < image.Width(); ++x, in += 3, out += 3)
        out[0] = in[2], out[1] = in[1], out[2] = in[0];
      return;
    case PixelFormat::Bgrx32:
      for (int x = 0; x < image.Width(); ++x, in += 4, out += 3)
        out[0] = in[2], out[1] = in[1], out[2] = in[0];
      return;
    case PixelFormat::Rgb555:
      throw std::logic_error("5-5-5 rows must be converted first");
    default:
      std::copy(in, in + PngRowBytes(image), out);
  }
}

void FilterRow(RowFilter filter, const uint8_t* row, const uint8_t* above, std::size_t length,
               std::size_t bpp, uint8_t* out) {
  if (filter != RowFilter::Adaptive) {
    out[0] = static_cast<uint8_t>(filter);
    ApplyFilter(filter, row, above, length, bpp, out + 1);
    return;
  }
  std::vector<uint8_t> trial(length);
  uint64_t best = UINT64_MAX;
  for (const RowFilter f :
       {RowFilter::None, RowFilter::Sub, RowFilter::Up, RowFilter::Average, RowFilter::Paeth}) {
    ApplyFilter(f, row, above, length, bpp, trial.data());
    const uint64_t sum = SignedSum(trial.data(), length);
    if (sum < best) {
      best = sum;
      out[0] = static_cast<uint8_t>(f);
      std::copy(trial.begin(), trial.end(), out + 1);
    }
  }
}

std::vector<uint8_t> CompressPngRows(const Bitmap& image, RowFilter filter, int level) {
  const std::size_t rowBytes = PngRowBytes(image) + 1;
  const std::size_t total = rowBytes * static_cast<std::size_t>(image.Height());
  const auto cores = static_cast<std::size_t>(ParallelThreads());
  const std::size_t parts = std::max<std::size_t>(
      1, std::min<std::size_t>({cores, total / kMinPartBytes, static_cast<std::size_t>(image.Height())}));
  PixelBuffer filtered(total);  // huge pages: the filtered image is as large as the bitmap
  std::vector<int> firstRow(parts + 1);
  for (std::size_t i = 0; i <= parts; ++i) firstRow[i] = static_cast<int>(image.Height() * i / parts);
  RunInParallel(parts, [&](std::size_t i) {
    FilterRows(image, filter, firstRow[i], firstRow[i + 1], filtered.Data() + rowBytes * firstRow[i]);
  });

  std::vector<Part> pieces(parts);
  for (std::size_t i = 0; i < parts; ++i) {
    const std::size_t start = rowBytes * firstRow[i], end = rowBytes * firstRow[i + 1];
    pieces[i].data = filtered.Data() + start;
    pieces[i].size = end - start;
    pieces[i].dictionary = std::min(start, kWindow);
    pieces[i].last = i + 1 == parts;
  }
  const int strategy = filter == RowFilter::None ? Z_DEFAULT_STRATEGY : Z_FILTERED;
  RunInParallel(parts, [&](std::size_t i) { Deflate(pieces[i], level, strategy); });

  std::vector<uint8_t> stream = ZlibHeader(level);
  uLong adler = 1;
  for (const Part& part : pieces) {
    stream.insert(stream.end(), part.output.begin(), part.output.end());
    adler = adler32_combine(adler, part.adler, static_cast<z_off_t>(part.size));
  }
  for (int shift = 24; shift >= 0; shift -= 8) stream.push_back(static_cast<uint8_t>(adler >> shift));
  return stream;
}

}  // namespace mv
