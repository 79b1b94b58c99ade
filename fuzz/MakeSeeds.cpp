// Writes the small seed files of the fuzz corpus (fuzz/corpus/<format>/seed-*) with the project's
// own writers, plus the JPEG kinds the writer does not make. Run once when the seeds should change:
//   fuzz_make_seeds fuzz/corpus

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>  // after <cstdio>, which it needs

#include "codecs/BmpImage.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "codecs/PngImage.h"

namespace {

using mv::Bitmap;
using mv::PixelFormat;

void Save(const std::filesystem::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bitmap Picture(int width, int height, PixelFormat format) {
  Bitmap image(width, height, format);
  if (mv::IsIndexed(format)) {
    std::vector<mv::PaletteEntry> palette;
    for (int i = 0; i < (1 << image.BitsPerPixel()); ++i)
      palette.push_back(mv::PaletteEntry{uint8_t(i * 5), uint8_t(255 - i), uint8_t(i * 11), 0});
    image.SetPalette(palette);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) image.SetIndexAt(x, y, (x + 2 * y) % (1 << image.BitsPerPixel()));
    return image;
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.SetColorAt(x, y, mv::MakeColor(uint8_t(x * 16), uint8_t(y * 16), uint8_t(x * y)));
  return image;
}

// A progressive or greyscale JPEG straight from libjpeg (its default error handling suffices here).
std::vector<uint8_t> LibjpegFile(bool progressive, bool grey) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = 16;
  info.image_height = 16;
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  if (progressive) jpeg_simple_progression(&info);
  info.restart_interval = progressive ? 0 : 2;
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(48);
  for (int y = 0; y < 16; ++y) {
    for (int i = 0; i < 48; ++i) row[i] = uint8_t(i * 5 + y * 9);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds <corpus folder>\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const PixelFormat formats[] = {PixelFormat::Indexed1, PixelFormat::Indexed4, PixelFormat::Indexed8,
                                 PixelFormat::Rgb555,   PixelFormat::Bgr24,    PixelFormat::Bgrx32};
  for (const PixelFormat format : formats) {
    const std::string bits = std::to_string(mv::BitsPerPixel(format));
    Save(root / "bmp", "seed-" + bits + ".bmp", mv::EncodeBmp(Picture(7, 5, format)));
    if (mv::IsIndexed(format))
      Save(root / "png", "seed-" + bits + ".png", mv::EncodePng(Picture(7, 5, format), {}));
  }
  mv::PngWriteOptions options;
  options.gamma = 2.2;
  options.transparent = mv::MakeColor(16, 16, 1);
  Save(root / "png", "seed-24-trns-gama.png", mv::EncodePng(Picture(9, 9, PixelFormat::Bgr24), options));
  Save(root / "gif", "seed-plain.gif", mv::EncodeGif(Picture(12, 10, PixelFormat::Indexed8), std::nullopt));
  Save(root / "gif", "seed-transparent.gif",
       mv::EncodeGif(Picture(20, 20, PixelFormat::Bgr24), mv::MakeColor(16, 16, 1)));
  Save(root / "jpeg", "seed-q75.jpg", mv::EncodeJpeg(Picture(16, 16, PixelFormat::Bgr24), 75));
  Save(root / "jpeg", "seed-q10-odd.jpg", mv::EncodeJpeg(Picture(13, 7, PixelFormat::Bgr24), 10));
  Save(root / "jpeg", "seed-progressive.jpg", LibjpegFile(true, false));
  Save(root / "jpeg", "seed-grey-restarts.jpg", LibjpegFile(false, true));
  return 0;
}
