#include "TestImages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace mv::test {

std::optional<std::string> TestDataDir() {
  const std::string dir = MV_TESTDATA_DIR;
  if (!std::filesystem::is_directory(dir)) return std::nullopt;
  return dir;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

Bitmap AsymmetricImage(int width, int height, PixelFormat format) {
  Bitmap image(width, height, format);
  if (IsIndexed(format)) {
    const int colors = 1 << image.BitsPerPixel();
    std::vector<PaletteEntry> palette;
    for (int i = 0; i < colors; ++i)
      palette.push_back(PaletteEntry{uint8_t(255 - i), uint8_t(i * 7 % 256), uint8_t(i * 3 % 256 ^ 0x55), 0});
    image.SetPalette(palette);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) image.SetIndexAt(x, y, (x * 3 + y * 5 + x * y) % colors);
    return image;
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.SetColorAt(x, y, MakeColor(uint8_t(x * 37 + y), uint8_t(y * 53 + 7), uint8_t(x * y * 11 + x)));
  return image;
}

int MaxChannelDifference(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return 1000;
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      const ColorRef p = a.ColorAt(x, y), q = b.ColorAt(x, y);
      worst = std::max<int>({worst, std::abs(RedOf(p) - RedOf(q)), std::abs(GreenOf(p) - GreenOf(q)),
                             std::abs(BlueOf(p) - BlueOf(q))});
    }
  return worst;
}

double Psnr(const Bitmap& a, const Bitmap& b) {
  const Bitmap x = a.ToBgr24(), y = b.ToBgr24();
  double sum = 0;
  for (int row = 0; row < x.Height(); ++row)
    for (int i = 0; i < x.Width() * 3; ++i) {
      const double d = double(x.Row(row)[i]) - double(y.Row(row)[i]);
      sum += d * d;
    }
  const double mse = sum / (3.0 * x.Width() * x.Height());
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

Bitmap ReadPpm(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFile(path);
  std::string header(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 64));
  std::istringstream in(header);
  std::string magic;
  int width = 0, height = 0, max = 0;
  in >> magic >> width >> height >> max;
  if (magic != "P6" || max != 255) throw std::runtime_error("not an 8-bit P6 file");
  const std::size_t start = static_cast<std::size_t>(in.tellg()) + 1;
  Bitmap image(width, height, PixelFormat::Bgr24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = bytes.data() + start + (static_cast<std::size_t>(y) * width + x) * 3;
      image.SetColorAt(x, y, MakeColor(p[0], p[1], p[2]));
    }
  return image;
}

}  // namespace mv::test
