// Times the counting behind the histogram dialogs (red, green, blue and luminance of a 4000 x 3000
// 24-bit picture) against libvips' hist_find (one histogram per band, so three) on the same pixels:
// in-process on the picture in memory, and as the `vips hist_find` command less its no-op (the
// same command start-up, mapping of the same file and a 1-pixel output: `vips crop ... 0 0 1 1`).
// Every figure is the median of the runs; the ratio is ours / peer.
//
// Usage: histogram_bench [work folder] [runs]   (default /tmp/mv-histogram-bench, 21)

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../SyntheticPhoto.h"
#include "../codecs/PpmFiles.h"
#include "option/ChannelHistogram.h"
#include "platform/Parallel.h"

#ifdef MV_WITH_LIBVIPS
#include <vips/vips.h>
#endif

namespace mv {
namespace {

double ProcessCpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Wall time, and processor time of all the process's threads (what the work costs on an idle
// machine's processors, whatever else the shared machine is running).
struct Timing {
  double wall = 0;
  double cpu = 0;
};

Timing Milliseconds(const std::function<void()>& work) {
  const double cpuStart = ProcessCpuMilliseconds();
  const auto start = std::chrono::steady_clock::now();
  work();
  return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
          ProcessCpuMilliseconds() - cpuStart};
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Medians of `runs` alternating runs of each piece of work, so that a change in the machine's load
// during the benchmark weighs on all of them alike.
std::vector<Timing> AlternatingMedians(int runs, const std::vector<std::function<void()>>& works) {
  std::vector<std::vector<double>> walls(works.size()), cpus(works.size());
  for (int i = 0; i < runs; ++i) {
    for (std::size_t w = 0; w < works.size(); ++w) {
      const Timing t = Milliseconds(works[w]);
      walls[w].push_back(t.wall);
      cpus[w].push_back(t.cpu);
    }
  }
  std::vector<Timing> medians;
  for (std::size_t w = 0; w < works.size(); ++w) medians.push_back({Median(walls[w]), Median(cpus[w])});
  return medians;
}

double MedianMilliseconds(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double CommandMilliseconds(const std::string& command, int runs) {
  return MedianMilliseconds(runs, [&] {
    if (std::system((command + " > /dev/null 2>&1").c_str()) != 0)
      std::fprintf(stderr, "failed: %s\n", command.c_str());
  });
}

#ifdef MV_WITH_LIBVIPS
// The pixels as libvips holds them (red, green, blue bands), and a run of vips_hist_find over them.
class LibvipsHistogram {
 public:
  explicit LibvipsHistogram(const Bitmap& picture) : width_(picture.Width()), height_(picture.Height()) {
    rgb_.resize(static_cast<std::size_t>(width_) * height_ * 3);
    for (int y = 0; y < height_; ++y) {
      const uint8_t* in = picture.Row(y);
      uint8_t* out = rgb_.data() + static_cast<std::size_t>(y) * width_ * 3;
      for (int x = 0; x < width_; ++x) {
        out[3 * x] = in[3 * x + 2];
        out[3 * x + 1] = in[3 * x + 1];
        out[3 * x + 2] = in[3 * x];
      }
    }
  }
  void Run() const {
    VipsImage* image =
        vips_image_new_from_memory(rgb_.data(), rgb_.size(), width_, height_, 3, VIPS_FORMAT_UCHAR);
    VipsImage* histogram = nullptr;
    if (vips_hist_find(image, &histogram, nullptr) != 0) std::fprintf(stderr, "vips_hist_find failed\n");
    if (histogram != nullptr) g_object_unref(histogram);
    g_object_unref(image);
  }

 private:
  int width_, height_;
  std::vector<uint8_t> rgb_;
};
#endif

}  // namespace
}  // namespace mv

int main(int argc, char** argv) {
  using namespace mv;
  const std::string folder = argc > 1 ? argv[1] : "/tmp/mv-histogram-bench";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
  std::filesystem::create_directories(folder);
  const Bitmap picture = SyntheticPhoto();
  const MvImageView view{picture.Width(), picture.Height(), static_cast<int32_t>(picture.Stride()),
                         picture.Row(0)};

  uint64_t checksum = 0;
  const auto ours = [&](int threads) {
    return [&, threads] { checksum += CountChannels(view, threads).counts[3][128]; };
  };
  std::vector<std::function<void()>> works = {ours(ParallelThreads()), ours(1)};
#ifdef MV_WITH_LIBVIPS
  const bool withLibvips = VIPS_INIT(argv[0]) == 0;
  vips_concurrency_set(ParallelThreads());
  const LibvipsHistogram libvips(picture);
  if (withLibvips) works.push_back([&] { libvips.Run(); });
#endif
  const std::vector<Timing> medians = AlternatingMedians(runs, works);
  std::printf("%dx%d picture, %d runs, %d threads\n", picture.Width(), picture.Height(), runs,
              ParallelThreads());
  std::printf("%-30s %8s  %-40s %8s %7s\n", "ours (4 channels)", "ms", "peer", "ms", "ratio");
  const auto row = [](const char* ours, double oursMs, const char* peer, double peerMs) {
    std::printf("%-30s %8.2f  %-40s %8.2f %7.3f\n", ours, oursMs, peer, peerMs, oursMs / peerMs);
  };
#ifdef MV_WITH_LIBVIPS
  if (withLibvips) {
    row("all threads", medians[0].wall, "vips_hist_find in-process (3 bands)", medians[2].wall);
    row("one thread", medians[1].wall, "vips_hist_find in-process (3 bands)", medians[2].wall);
    std::printf("processor time of all threads: ours %.2f ms, vips_hist_find %.2f ms (ratio %.3f)\n",
                medians[0].cpu, medians[2].cpu, medians[0].cpu / medians[2].cpu);
  }
#endif

  const std::string ppm = folder + "/in.ppm", in = folder + "/in.v", out = folder + "/out.v";
  bench::WritePpm(ppm, picture);
  CommandMilliseconds("vips copy " + ppm + " " + in, 1);
  const double noOp = CommandMilliseconds("vips crop " + in + " " + out + " 0 0 1 1", runs);
  const double command = CommandMilliseconds("vips hist_find " + in + " " + out, runs);
  row("all threads", medians[0].wall, "vips hist_find - vips crop 1x1 (no-op)", command - noOp);
  std::printf("(vips hist_find %.2f ms, no-op %.2f ms; checksum %llu)\n", command, noOp,
              static_cast<unsigned long long>(checksum));
  return 0;
}
