// The codec benchmark tool: each subcommand is one whole command, so it can be timed side by side
// with the peer tools (djpeg, cjpeg, libvips, ImageMagick) the same way; see run-bench beside it.
//   codec_bench make-photo <out.ppm> [width height]   a photo-like test picture
//   codec_bench read-ppm <in.ppm>                     the input step alone (the no-op of the writers)
//   codec_bench jpeg-read <in.jpg>                    decode to a bitmap
//   codec_bench jpeg-write <in.ppm> <out.jpg> <q>     4:2:0 at quality q
//   codec_bench png-write <in.ppm> <out.png>          level 9, default options
//   codec_bench gif-write <in.ppm> <out.gif>          quantized to 256 colours with error diffusion
//   codec_bench psnr <reference.ppm> <image>          PSNR of any readable image against the reference
//   codec_bench inproc <photo.ppm> <photo.jpg> <dir>  in-process times (best of three, warm process) of
//                                                     the four operations, writing into <dir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "PpmFiles.h"
#include "codecs/BmpImage.h"
#include "codecs/CodecError.h"
#include "codecs/FileBytes.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "codecs/PngImage.h"
#include "platform/AtomicFile.h"

namespace {

using mv::Bitmap;
using mv::bench::ReadPpm;
using mv::bench::WritePpm;

// Smooth random field: value noise on a grid of the given cell size, interpolated with smoothstep.
class ValueNoise {
 public:
  ValueNoise(int width, int height, int cell, std::mt19937& random)
      : cell_(cell),
        columns_(width / cell + 2),
        values_(static_cast<std::size_t>(columns_) * (height / cell + 2)) {
    for (float& v : values_) v = std::uniform_real_distribution<float>(-1, 1)(random);
  }
  float At(int x, int y) const {
    const int cx = x / cell_, cy = y / cell_;
    const float fx = Smooth(float(x % cell_) / cell_), fy = Smooth(float(y % cell_) / cell_);
    const float top = Lerp(Value(cx, cy), Value(cx + 1, cy), fx),
                bottom = Lerp(Value(cx, cy + 1), Value(cx + 1, cy + 1), fx);
    return Lerp(top, bottom, fy);
  }

 private:
  static float Smooth(float t) { return t * t * (3 - 2 * t); }
  static float Lerp(float a, float b, float t) { return a + (b - a) * t; }
  float Value(int cx, int cy) const { return values_[static_cast<std::size_t>(cy) * columns_ + cx]; }
  int cell_, columns_;
  std::vector<float> values_;
};

// Large soft shapes and shading at several scales, hard-edged objects, fine texture and sensor
// noise: compresses and quantizes like a photograph rather than like a synthetic gradient.
Bitmap MakePhoto(int width, int height) {
  std::mt19937 random(2024);
  std::vector<ValueNoise> light, hue, texture;
  for (int cell : {640, 160, 40}) light.emplace_back(width, height, cell, random);
  for (int cell : {900, 220})
    hue.emplace_back(width, height, cell, random), hue.emplace_back(width, height, cell, random);
  texture.emplace_back(width, height, 6, random);
  struct Disc {
    float x, y, r;
    float color[3];
  };
  std::vector<Disc> discs;
  for (int i = 0; i < 160; ++i) {
    std::uniform_real_distribution<float> u(0, 1);
    discs.push_back(Disc{u(random) * width,
                         u(random) * height,
                         20 + u(random) * 260,
                         {u(random) * 255, u(random) * 255, u(random) * 255}});
  }
  std::normal_distribution<float> sensor(0, 2.5f);
  Bitmap image(width, height, mv::PixelFormat::Bgr24);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.Row(y);
    for (int x = 0; x < width; ++x) {
      const float l = 120 + 70 * light[0].At(x, y) + 35 * light[1].At(x, y) + 12 * light[2].At(x, y);
      float c[3] = {l + 40 * hue[0].At(x, y) + 15 * hue[2].At(x, y), l + 10 * hue[1].At(x, y),
                    l - 40 * hue[0].At(x, y) + 15 * hue[3].At(x, y)};
      for (const Disc& d : discs) {
        const float dx = x - d.x, dy = y - d.y;
        if (dx * dx + dy * dy < d.r * d.r) {
          const float shade = 0.75f + 0.25f * (dy / d.r);
          for (int k = 0; k < 3; ++k) c[k] = d.color[k] * shade + 0.3f * (c[k] - 120);
          break;
        }
      }
      const float grain = 10 * texture[0].At(x, y);
      for (int k = 0; k < 3; ++k)
        row[3 * x + 2 - k] = static_cast<uint8_t>(std::clamp(c[k] + grain + sensor(random), 0.0f, 255.0f));
    }
  }
  return image;
}

Bitmap LoadAny(const std::string& path) {
  try {
    mv::GifImage gif;
    gif.LoadFromFile(path);
    return std::move(gif).ToBitmap();
  } catch (const mv::CodecError&) {
  }
  try {
    mv::PngImage png;
    png.LoadFromFile(path);
    return std::move(png).ToBitmap();
  } catch (const mv::CodecError&) {
  }
  mv::JpegImage jpeg;
  jpeg.LoadFromFile(path);
  return std::move(jpeg).ToBitmap();
}

double Psnr(const Bitmap& a, const Bitmap& b) {
  const Bitmap x = a.ToBgr24(), y = b.ToBgr24();
  double sum = 0;
  for (int row = 0; row < x.Height(); ++row)
    for (int i = 0; i < x.Width() * 3; ++i) {
      const double d = double(x.Row(row)[i]) - double(y.Row(row)[i]);
      sum += d * d;
    }
  return 10 * std::log10(255.0 * 255.0 * 3.0 * x.Width() * x.Height() / sum);
}

// Best of three runs of an operation, in milliseconds; the first run also warms the process. Each
// run gets its own output name: saving a new file (replacing one adds a flush to disk).
template <typename Operation>
double BestOfThree(Operation operation) {
  double best = 1e30;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    operation(std::to_string(run));
    best = std::min(
        best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

void InProcess(const std::string& ppm, const std::string& jpg, const std::string& dir) {
  const Bitmap photo = ReadPpm(ppm);
  std::printf("jpeg-read %.1f\n", BestOfThree([&](const std::string&) {
                mv::JpegImage jpeg;
                jpeg.LoadFromFile(jpg);
                const Bitmap image = std::move(jpeg).ToBitmap();
              }));
  std::printf("jpeg-write %.1f\n", BestOfThree([&](const std::string& run) {
                mv::WriteJpegFile(dir + "/ours" + run + ".jpg", photo, 90);
              }));
  std::printf("png-write %.1f\n", BestOfThree([&](const std::string& run) {
                mv::WritePngFile(dir + "/ours" + run + ".png", photo, mv::PngWriteOptions{});
              }));
  std::printf("gif-write %.1f\n", BestOfThree([&](const std::string& run) {
                mv::WriteGifFile(dir + "/ours" + run + ".gif", photo, std::nullopt);
              }));
  mv::PngWriteOptions adaptive;  // for comparison: the smaller, slower filtered PNG
  adaptive.filterSetting = 5;
  std::printf("png-write-adaptive %.1f\n", BestOfThree([&](const std::string& run) {
                mv::WritePngFile(dir + "/adaptive" + run + ".png", photo, adaptive);
              }));
}

int Run(const std::vector<std::string>& args) {
  const std::string& command = args.at(0);
  if (command == "make-photo") {
    const int width = args.size() > 3 ? std::stoi(args[2]) : 4000,
              height = args.size() > 3 ? std::stoi(args[3]) : 3000;
    WritePpm(args.at(1), MakePhoto(width, height));
  } else if (command == "read-ppm") {
    const Bitmap image = ReadPpm(args.at(1));
    std::printf("%d x %d\n", image.Width(), image.Height());
  } else if (command == "jpeg-read") {
    mv::JpegImage jpeg;
    jpeg.LoadFromFile(args.at(1));
    const Bitmap image = std::move(jpeg).ToBitmap();
    std::printf("%d x %d\n", image.Width(), image.Height());
  } else if (command == "jpeg-write") {
    mv::WriteJpegFile(args.at(2), ReadPpm(args.at(1)), std::stoi(args.at(3)));
  } else if (command == "png-write") {
    mv::WritePngFile(args.at(2), ReadPpm(args.at(1)), mv::PngWriteOptions{});
  } else if (command == "gif-write") {
    mv::WriteGifFile(args.at(2), ReadPpm(args.at(1)), std::nullopt);
  } else if (command == "inproc") {
    InProcess(args.at(1), args.at(2), args.at(3));
  } else if (command == "psnr") {
    std::printf("%.3f\n", Psnr(ReadPpm(args.at(1)), LoadAny(args.at(2))));
  } else {
    std::fprintf(stderr, "unknown command %s\n", command.c_str());
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: codec_bench <command> ...\n");
    return 2;
  }
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "codec_bench: %s\n", e.what());
    return 1;
  }
}
