// Times the neighbourhood pass on a 4000 x 3000 photo-like picture and runs the command a user would
// otherwise use on the same pixels. Peer times are wall times less the same tool's no-op copy, so
// start-up and file reading and writing count for neither side.
//
// Usage: filters_bench [work folder [quick]]   (default /tmp/mv-filters-bench; needs vips and
// convert; `quick` leaves out ImageMagick's Gaussian, which takes about a minute)

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "filtering/BorderPadding.h"
#include "filtering/ColorFilters.h"
#include "filtering/KernelFetch.h"
#include "filtering/NeighbourhoodPass.h"
#include "platform/ProgramFolder.h"

namespace mv {
namespace {

constexpr int kWidth = 4000, kHeight = 3000;

class SilentFeedback : public Feedback {
 public:
  BoxButton ShowMessageBox(BoxKind, const std::string& text, BoxButtons, int) override {
    std::fprintf(stderr, "box: %s\n", text.c_str());
    return kOK;
  }
  void SetMessage(const std::string&) override {}
  void SetCursor(Cursor) override {}
  std::unique_ptr<ProgressDialog> CreateProgressDialog() override { return nullptr; }
  void ProcessPendingEvents() override {}
};

// Smooth shading, a few hard edges and sensor noise.
Bitmap PhotoLike() {
  Bitmap b(kWidth, kHeight);
  std::mt19937 rng(42);
  std::normal_distribution<double> noise(0, 6);
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < kWidth; ++x) {
      const bool object = (x / 500 + y / 400) % 3 == 0;
      for (int c = 0; c < 3; ++c) {
        double v =
            120 + 60 * std::sin(x * 0.004 + c) * std::cos(y * 0.003 - c) + (object ? 50 : 0) + noise(rng);
        row[3 * x + c] = static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
      }
    }
  }
  return b;
}

void WritePpm(const Bitmap& b, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << b.Width() << " " << b.Height() << "\n255\n";
  std::vector<char> row(static_cast<std::size_t>(3 * b.Width()));
  for (int y = 0; y < b.Height(); ++y) {
    const uint8_t* in = b.Row(y);
    for (int x = 0; x < b.Width(); ++x) {
      row[3 * x] = static_cast<char>(in[3 * x + 2]);
      row[3 * x + 1] = static_cast<char>(in[3 * x + 1]);
      row[3 * x + 2] = static_cast<char>(in[3 * x]);
    }
    out.write(row.data(), static_cast<std::streamsize>(row.size()));
  }
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Best of `runs` wall times of a shell command.
double CommandSeconds(const std::string& command, int runs) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    best = std::min(best, Seconds([&] {
                      if (std::system((command + " > /dev/null 2>&1").c_str()) != 0)
                        std::fprintf(stderr, "failed: %s\n", command.c_str());
                    }));
  }
  return best;
}

std::string Matrix(int w, int h, int scale, const std::vector<int32_t>& weights) {
  std::ostringstream out;
  out << w << " " << h << " " << scale << " 0\n";
  for (int i = 0; i < h; ++i) {
    for (int j = 0; j < w; ++j)
      out << weights[static_cast<std::size_t>(i * w + j)] << (j + 1 < w ? " " : "\n");
  }
  return out.str();
}

struct Row {
  std::string name, peer;
  double ours, peerNet;
};

}  // namespace
}  // namespace mv

int main(int argc, char** argv) {
  using namespace mv;
  const std::string folder = argc > 1 ? argv[1] : "/tmp/mv-filters-bench";
  const bool quick = argc > 2 && std::string(argv[2]) == "quick";
  std::filesystem::create_directories(folder);
  // ImageMagick reads and writes PPM; libvips its own uncompressed format, which it maps, so that
  // its copy costs little and the operation's own time shows after the subtraction.
  const std::string in = folder + "/in.ppm", out = folder + "/out.ppm";
  const std::string vin = folder + "/in.v", vout = folder + "/out.v";
  const Bitmap picture = PhotoLike();
  WritePpm(picture, in);
  CommandSeconds("vips copy " + in + " " + vin, 1);
  SilentFeedback feedback;
  const int runs = 5;

  // `pause` before each run: a user's pause between commands, during which memory given back to
  // the system goes back to the virtual machine's host.
  auto ours = [&](int number, int side, const TColorFilter& filter, double divisorOverride, int r,
                  std::chrono::milliseconds pause = std::chrono::milliseconds(0)) {
    TMaskArray kernel(number >= 100 ? side * side : 9);
    const int32_t divisor = FetchKernel(ExecutableFolder(), number, side, kernel, feedback);
    const double d = divisorOverride != 0 ? divisorOverride : divisor;
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
      std::this_thread::sleep_for(pause);
      best = std::min(best, Seconds([&] {
                        const auto padded = PadBorder(picture, r);
                        PassSettings settings;
                        settings.radius = r;
                        settings.quiet = true;
                        if (!RunNeighbourhoodPass(std::move(*padded), filter, kernel.Elements(), d, 0,
                                                  settings, feedback))
                          std::abort();
                      }));
    }
    return std::pair{best, std::vector<int32_t>(kernel.begin(), kernel.end())};
  };

  const double vipsCopy = CommandSeconds("vips copy " + vin + " " + vout, runs);
  const double convertCopy = CommandSeconds("convert " + in + " " + out, runs);
  std::vector<Row> rows;

  {
    auto [time, kernel] = ours(1, 3, TCustomFilter(), 0, 1);
    std::ofstream(folder + "/box3.mat") << Matrix(3, 3, 9, kernel);
    const double peer = CommandSeconds(
        "vips conv " + vin + " " + vout + " " + folder + "/box3.mat --precision integer", runs);
    rows.push_back({"3x3 TCustomFilter (kernel 1, D 9)", "vips conv 3x3 integer", time, peer - vipsCopy});
    const double paused = ours(1, 3, TCustomFilter(), 0, 1, std::chrono::milliseconds(3000)).first;
    rows.push_back(
        {"  the same, 3 s after the previous run", "vips conv 3x3 integer", paused, peer - vipsCopy});
  }
  {
    auto [time, kernel] = ours(100, 43, TCustomFilter(), 0, 21);
    std::ofstream(folder + "/box43.mat") << Matrix(43, 1, 43, std::vector<int32_t>(43, 1));
    const double peer = CommandSeconds(
        "vips convsep " + vin + " " + vout + " " + folder + "/box43.mat --precision integer", runs);
    rows.push_back({"43x43 box blur (kernel 100)", "vips convsep 43-tap integer", time, peer - vipsCopy});
  }
  {
    auto [time, kernel] = ours(1, 3, TMedianFilter(), 4, 1);
    const double peer = CommandSeconds("vips rank " + vin + " " + vout + " 3 3 4", runs);
    rows.push_back({"3x3 median (rank 4)", "vips rank 3 3 4", time, peer - vipsCopy});
  }
  {
    auto [time, kernel] = ours(101, 41, TCustomFilter(), 0, 20);
    std::ostringstream spec;
    spec << "41x41:";
    for (std::size_t i = 0; i < kernel.size(); ++i) spec << (i ? "," : "") << kernel[i];
    const double peer =
        quick ? 0
              : CommandSeconds("convert " + in + " -define convolve:scale='!' -morphology Convolve '" +
                                   spec.str() + "' " + out,
                               1);
    rows.push_back({"41x41 Gaussian (kernel 101)", "convert -morphology Convolve 41x41", time,
                    quick ? 0 : peer - convertCopy});
  }

  std::printf("%dx%d picture; peer no-op copies: vips %.3f s, convert %.3f s\n", kWidth, kHeight, vipsCopy,
              convertCopy);
  std::printf("%-36s %10s  %-38s %10s %8s\n", "ours", "seconds", "peer", "seconds", "ratio");
  for (const Row& r : rows) {
    std::printf("%-36s %10.3f  %-38s %10.3f %8.3f\n", r.name.c_str(), r.ours, r.peer.c_str(), r.peerNet,
                r.ours / r.peerNet);
  }
  return 0;
}
