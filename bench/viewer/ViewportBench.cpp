// Times the composition of a 1920 x 1080 viewport of a 4000 x 3000 picture at every kind of zoom:
// "new" draws a picture that has just changed (nothing cached), "zoomed" draws right after the view
// was at 0.8 times the zoom, "scroll" moves the view by 37 pixels each time, "repaint" redraws an
// unchanged view (the overlay's repaints). A second table times "new" for pictures in the other
// pixel formats. For comparison, a third gives the time libvips takes to shrink the whole picture to the
// same scale with a box filter (`vips shrink`), when vips is installed: the peer a user would reach for
// to get the reduced picture.
//
// Usage: viewer_bench [work folder] [zoom... | formats]   (default /tmp/mv-viewer-bench, every zoom
// below; the peer and the other formats are timed only for the full list, "formats" times the other
// formats alone)

#include <time.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "../SyntheticPhoto.h"
#include "codecs/PngImage.h"
#include "view/Viewport.h"

namespace mv {
namespace {

constexpr int kWidth = kPhotoWidth, kHeight = kPhotoHeight;
constexpr Size kView{1920, 1080};

double ProcessCpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Timing {
  double wall = 0;  // median milliseconds
  double cpu = 0;   // median processor milliseconds of all threads: the time on an idle machine's core
};

// `prepare` runs untimed before each run.
Timing Time(
    int runs, const std::function<void(int)>& work, const std::function<void()>& prepare = [] {}) {
  std::vector<double> walls, cpus;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const double cpuStart = ProcessCpuMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    work(i);
    walls.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    cpus.push_back(ProcessCpuMilliseconds() - cpuStart);
  }
  std::sort(walls.begin(), walls.end());
  std::sort(cpus.begin(), cpus.end());
  return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

double PeerShrink(const std::string& folder, double zoom) {
  const std::string in = folder + "/picture.v", out = folder + "/shrunk.v";
  const std::string command = "vips shrink " + in + " " + out + " " + std::to_string(1 / zoom) + " " +
                              std::to_string(1 / zoom) + " > /dev/null 2>&1";
  return Time(3, [&](int) { std::system(command.c_str()); }).wall;
}

// The photo as a greyscale file loads: 8-bit with the grey scale as its palette.
Bitmap InGrey(const Bitmap& photo) {
  Bitmap b(kWidth, kHeight, PixelFormat::Indexed8);
  std::vector<PaletteEntry> palette;
  for (int i = 0; i < 256; ++i) palette.push_back({uint8_t(i), uint8_t(i), uint8_t(i), 0});
  b.SetPalette(palette);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) b.Row(y)[x] = photo.Row(y)[3 * x + 1];
  }
  return b;
}

// The photo in another format: direct formats converted, indexed ones drawn from a palette of the
// photo's colours along its diagonal.
Bitmap InFormat(const Bitmap& photo, PixelFormat format) {
  if (!IsIndexed(format)) return photo.ConvertedTo(format);
  Bitmap b(kWidth, kHeight, format);
  const int colours = 1 << BitsPerPixel(format);
  std::vector<PaletteEntry> palette;
  for (int i = 0; i < colours; ++i) {
    const ColorRef c = photo.ColorAt(i * (kWidth - 1) / colours, i * (kHeight - 1) / colours);
    palette.push_back({BlueOf(c), GreenOf(c), RedOf(c), 0});
  }
  b.SetPalette(palette);
  std::mt19937 rng(7);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x)
      b.SetIndexAt(x, y, static_cast<int>((x / 40 + y / 30 + rng() % 3) % colours));
  }
  return b;
}

Size Display(double zoom) {
  return {static_cast<int>(kWidth * zoom + 0.5), static_cast<int>(kHeight * zoom + 0.5)};
}

Point Middle(Size display) {
  return {std::max(0, (display.width - kView.width) / 2), std::max(0, (display.height - kView.height) / 2)};
}

int Main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/mv-viewer-bench";
  std::filesystem::create_directories(folder);
  const Bitmap picture = SyntheticPhoto();
  const double fit =
      std::min(static_cast<double>(kView.width) / kWidth, static_cast<double>(kView.height) / kHeight);
  // A fit to a window whose size shares few factors with the picture's (1437 x 1078): the weight totals
  // need 32-bit column sums. Most window sizes give such fits.
  const double awkwardFit = 1078.0 / kHeight;
  std::vector<double> zooms = {0.05, 0.1,  0.25, fit, awkwardFit, 1.0 / 3, 0.5,
                               0.6,  0.75, 1.0,  1.5, 2.0,        4.0,     16.0};
  const bool formatsOnly = argc == 3 && std::string(argv[2]) == "formats";
  const bool withPeer = argc <= 2;
  if (!withPeer) zooms.clear();
  for (int i = 2; i < argc && !formatsOnly; ++i) zooms.push_back(std::atof(argv[i]));
  if (!zooms.empty())
    std::printf("Wall and processor milliseconds (all threads) per composition, median of 15.\n");
  if (!zooms.empty())
    std::printf("%-8s %16s %16s %16s %16s\n", "zoom", "new wall/cpu", "zoomed wall/cpu", "scroll wall/cpu",
                "repaint wall/cpu");
  for (const double zoom : zooms) {
    const Size display = Display(zoom);
    ViewportComposer composer;
    Bitmap surface(kView.width, kView.height);
    ViewportScene scene{&picture, 0, display, {0, 0}, 0xF0F0F0};
    const Point middle = Middle(display);
    const Timing fresh = Time(15, [&](int i) {
      scene.pictureVersion = static_cast<uint64_t>(i) + 1;
      scene.scroll = middle;
      composer.Compose(scene, surface);
    });
    ViewportScene before{&picture, 0, Display(zoom * 0.8), Middle(Display(zoom * 0.8)), 0xF0F0F0};
    const Timing zoomed = Time(
        15, [&](int) { composer.Compose(scene, surface); }, [&] { composer.Compose(before, surface); });
    const Timing scroll = Time(15, [&](int i) {
      scene.scroll = {std::max(0, std::min(middle.x + 37 * (i + 1), display.width - kView.width)), middle.y};
      composer.Compose(scene, surface);
    });
    const Timing repaint = Time(15, [&](int) { composer.Compose(scene, surface); });
    std::printf("%-8.4g %7.2f / %6.2f %7.2f / %6.2f %7.2f / %6.2f %7.2f / %6.2f\n", zoom, fresh.wall,
                fresh.cpu, zoomed.wall, zoomed.cpu, scroll.wall, scroll.cpu, repaint.wall, repaint.cpu);
  }

  if (!withPeer && !formatsOnly) return 0;
  const std::pair<PixelFormat, const char*> formats[] = {
      {PixelFormat::Indexed1, "1-bit"}, {PixelFormat::Indexed4, "4-bit"}, {PixelFormat::Indexed8, "8-bit"},
      {PixelFormat::Indexed8, "grey"},  {PixelFormat::Rgb555, "16-bit"},  {PixelFormat::Bgrx32, "32-bit"}};
  const double formatZooms[] = {fit, awkwardFit, 0.5, 1.0, 2.0};
  std::printf("\nNew composition in other pixel formats, wall/cpu milliseconds, median of 15.\n%-8s",
              "format");
  for (const double zoom : formatZooms) std::printf(" %9.3g       ", zoom);
  std::printf("\n");
  for (const auto& [format, name] : formats) {
    const Bitmap other = std::string(name) == "grey" ? InGrey(picture) : InFormat(picture, format);
    std::printf("%-8s", name);
    for (const double zoom : formatZooms) {
      ViewportComposer composer;
      Bitmap surface(kView.width, kView.height);
      ViewportScene scene{&other, 0, Display(zoom), Middle(Display(zoom)), 0xF0F0F0};
      const Timing fresh = Time(15, [&](int i) {
        scene.pictureVersion = static_cast<uint64_t>(i) + 1;
        composer.Compose(scene, surface);
      });
      std::printf(" %6.2f / %6.2f", fresh.wall, fresh.cpu);
    }
    std::printf("\n");
  }
  if (!withPeer || std::system("command -v vips > /dev/null") != 0) return 0;
  // The peer runs last: the memory a finished process gives back keeps this VM's other processor busy for
  // a while, which would slow the timings above.
  PngWriteOptions options;
  options.compressionLevel = 1;
  WritePngFile(folder + "/picture.png", picture, options);
  std::system(("vips copy " + folder + "/picture.png " + folder + "/picture.v").c_str());
  std::printf(
      "\nlibvips shrinking the whole picture by the zoom (box filter), wall milliseconds, median of 3.\n");
  for (const double zoom : zooms) {
    if (zoom < 1) std::printf("%-8.4g %8.1f\n", zoom, PeerShrink(folder, zoom));
  }
  return 0;
}

}  // namespace
}  // namespace mv

int main(int argc, char** argv) {
  return mv::Main(argc, argv);
}
