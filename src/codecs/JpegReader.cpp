// Decoding of JPEG files with libjpeg-turbo. The steps that call libjpeg are small functions that
// catch its fatal errors with setjmp (see JpegErrors.h) and answer false; LoadFromMemory owns every
// resource and throws.

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <jerror.h>

#include "codecs/ByteSource.h"
#include "codecs/CodecError.h"
#include "codecs/JpegErrors.h"
#include "codecs/JpegImage.h"

namespace mv {

namespace {

struct ScanLimit {
  jpeg_progress_mgr manager{};
  JpegErrors* errors = nullptr;
  int maxScans = 0;
};

// Called by libjpeg while it consumes input; refuses files with too many scans before the
// decoder spends a pass over the coefficient buffer on each.
void CheckScanCount(j_common_ptr info) {
  const auto* limit = reinterpret_cast<ScanLimit*>(info->progress);
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > limit->maxScans)
    limit->errors->Fail(info, "JPEG file has too many scans");
}

// libjpeg's input from a byte source, taken in pieces as the decoder asks. At the end of the data
// an end-of-image marker follows a warning, as libjpeg's own sources do, so that a file cut off
// keeps what was decoded.
struct SourceManager {
  jpeg_source_mgr manager{};  // first: libjpeg sees the manager as the whole object
  const ByteSource* source = nullptr;
  uint64_t position = 0;
  std::vector<JOCTET> buffer = std::vector<JOCTET>(65536);

  static SourceManager& Of(j_decompress_ptr info) { return *reinterpret_cast<SourceManager*>(info->src); }

  static void Start(j_decompress_ptr) {}
  static void Finish(j_decompress_ptr) {}
  static boolean Fill(j_decompress_ptr info) {
    SourceManager& self = Of(info);
    std::size_t count = self.source->ReadAt(self.position, self.buffer);
    self.position += count;
    if (count == 0) {
      WARNMS(info, JWRN_JPEG_EOF);
      self.buffer[0] = 0xFF;
      self.buffer[1] = JPEG_EOI;
      count = 2;
    }
    self.manager.next_input_byte = self.buffer.data();
    self.manager.bytes_in_buffer = count;
    return TRUE;
  }
  static void Skip(j_decompress_ptr info, long count) {
    SourceManager& self = Of(info);
    if (count <= 0) return;
    const auto bytes = static_cast<std::size_t>(count);
    if (bytes <= self.manager.bytes_in_buffer) {
      self.manager.next_input_byte += bytes;
      self.manager.bytes_in_buffer -= bytes;
      return;
    }
    self.position += bytes - self.manager.bytes_in_buffer;
    self.manager.bytes_in_buffer = 0;
  }
};

class Decoder {
 public:
  Decoder(const ByteSource& source, const ImageLimits& limits) : maxMemory_(limits.maxPixels * 4) {
    info.err = &errors.manager;
    scanLimit.errors = &errors;
    scanLimit.maxScans = limits.maxProgressiveScans;
    scanLimit.manager.progress_monitor = CheckScanCount;
    input.source = &source;
    input.manager.init_source = SourceManager::Start;
    input.manager.fill_input_buffer = SourceManager::Fill;
    input.manager.skip_input_data = SourceManager::Skip;
    input.manager.resync_to_restart = jpeg_resync_to_restart;
    input.manager.term_source = SourceManager::Finish;
    if (!Create()) Throw();
  }
  ~Decoder() { jpeg_destroy_decompress(&info); }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  [[noreturn]] void Throw() const {
    throw CodecError(std::string("JPEG: ") + (errors.ownMessage ? errors.ownMessage : errors.message));
  }

  bool Create() {
    if (setjmp(errors.jump)) return false;
    jpeg_create_decompress(&info);
    // The decoder's own memory (a multi-scan file's coefficient buffer above all) stays within four
    // bytes per pixel of the largest image allowed; a file that needs more fails.
    info.mem->max_memory_to_use = static_cast<long>(std::min<uint64_t>(maxMemory_, LONG_MAX));
    info.progress = &scanLimit.manager;
    info.src = &input.manager;
    return true;
  }
  bool ReadHeader() {
    if (setjmp(errors.jump)) return false;
    jpeg_read_header(&info, TRUE);
    return true;
  }
  bool Start() {
    if (setjmp(errors.jump)) return false;
    jpeg_start_decompress(&info);
    return true;
  }
  // Reads up to `count` rows; `done` receives how many arrived.
  bool ReadRows(JSAMPROW* rows, JDIMENSION count, JDIMENSION* done) {
    if (setjmp(errors.jump)) return false;
    *done = jpeg_read_scanlines(&info, rows, count);
    return true;
  }

  // True when the data ended before the first row of blocks of the first scan was complete.
  bool NothingDecoded() const { return errors.endedEarly && errors.endScan <= 1 && errors.endRow == 0; }

  jpeg_decompress_struct info{};

 private:
  uint64_t maxMemory_;
  JpegErrors errors;
  ScanLimit scanLimit;
  SourceManager input;
};

// CMYK as stored by Adobe applications is inverted (0 = full ink).
void CmykToBgr(const uint8_t* in, uint8_t* out, int width, bool inverted) {
  for (int x = 0; x < width; ++x, in += 4, out += 3) {
    unsigned c = in[0], m = in[1], y = in[2], k = in[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    out[0] = static_cast<uint8_t>((y * k + 127) / 255);
    out[1] = static_cast<uint8_t>((m * k + 127) / 255);
    out[2] = static_cast<uint8_t>((c * k + 127) / 255);
  }
}

std::vector<PaletteEntry> GreyPalette() {
  std::vector<PaletteEntry> palette(256);
  for (int i = 0; i < 256; ++i) palette[i] = PaletteEntry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
  return palette;
}

void DecodeRows(Decoder& decoder, Bitmap& image, bool cmyk) {
  jpeg_decompress_struct& info = decoder.info;
  const int width = image.Width();
  constexpr int kBatch = 16;
  std::vector<uint8_t> cmykRows(cmyk ? static_cast<std::size_t>(width) * 4 * kBatch : 0);
  JSAMPROW rows[kBatch];
  while (info.output_scanline < info.output_height) {
    const int first = static_cast<int>(info.output_scanline);
    const int count = std::min(kBatch, image.Height() - first);
    for (int i = 0; i < count; ++i)
      rows[i] = cmyk ? cmykRows.data() + static_cast<std::size_t>(i) * width * 4 : image.Row(first + i);
    JDIMENSION done = 0;
    if (!decoder.ReadRows(rows, static_cast<JDIMENSION>(count), &done)) decoder.Throw();
    if (done == 0) throw CodecError("JPEG: decoder made no progress");
    if (decoder.NothingDecoded()) throw CodecError("JPEG: file ends before any image data");
    if (cmyk) {
      for (JDIMENSION i = 0; i < done; ++i)
        CmykToBgr(rows[i], image.Row(first + static_cast<int>(i)), width, info.saw_Adobe_marker);
    }
  }
}

// A progressive decoder zeroes a coefficient buffer for the whole image before it reads any data.
// Its first scan needs at least one bit for each 8 x 8 block of the first component, so a file
// shorter than that is refused before the buffer is taken.
void CheckRoomForFirstScan(const jpeg_decompress_struct& info, uint64_t fileSize) {
  const uint64_t blocks = uint64_t{info.comp_info[0].width_in_blocks} * info.comp_info[0].height_in_blocks;
  if (fileSize * 8 < blocks) throw CodecError("JPEG: file too short for its image size");
}

bool HasJpegSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

}  // namespace

void JpegImage::LoadFromFile(const std::string& path) {
  Load(ByteSource::OpenFile(path));
}

void JpegImage::LoadFromMemory(std::span<const uint8_t> bytes) {
  Load(ByteSource(bytes));
}

void JpegImage::Load(const ByteSource& file) {
  if (!HasJpegSignature(file.Head(3))) throw CodecError("not a JPEG file");
  Decoder decoder(file, limits_);
  jpeg_decompress_struct& info = decoder.info;
  if (!decoder.ReadHeader()) decoder.Throw();
  CheckImageSize(info.image_width, info.image_height, limits_);
  if (info.progressive_mode) CheckRoomForFirstScan(info, file.Size());

  const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
  if (!decoder.Start()) decoder.Throw();
  if (decoder.NothingDecoded()) throw CodecError("JPEG: file ends before any image data");

  Bitmap image(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
               grey ? PixelFormat::Indexed8 : PixelFormat::Bgr24);
  if (grey) image.SetPalette(GreyPalette());
  DecodeRows(decoder, image, cmyk);
  if (decoder.NothingDecoded()) throw CodecError("JPEG: file ends before any image data");
  bitmap_ = std::move(image);
}

}  // namespace mv
