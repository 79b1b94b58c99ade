// The filter and effect commands of the window on a 4000 x 3000 photo-like picture (SyntheticPhoto),
// each from the click to the recorded undo entry (the copy of the rectangle, the padding, the pass,
// drawing back, the undo entry), its dialog answered at once, half a second after the previous
// command as a user gives them; side by side with what a user would otherwise run on the same pixels:
//  - libvips in the same process (vips_conv with the same integer mask, vips_convsep, vips_rank),
//    evaluated into memory from a picture already in memory;
//  - ImageMagick's convolve of the Gaussian's 41 x 41 integer kernel, as a command (its no-op copy
//    subtracted, so start-up and file reading count for neither side); about a minute, left out with
//    `quick`;
//  - the unsharp mask and edge detection against the sum of their parts (the box-blur command of the
//    same size, the bitmap subtraction and addition and the grey scale on the whole picture);
//  - mosaic and the waves against their budget of 150 ms.
// Figures are the best of several runs in wall milliseconds, with the processor time of that run
// (all threads; the machines are shared, so wall times carry other work's waits), ratios of wall
// times ours / peer.
//
// Usage: filters_bench [work folder [quick]]   (default /tmp/mv-filters-bench)

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../SyntheticPhoto.h"
#include "../codecs/PpmFiles.h"
#include "VipsConvolution.h"
#include "app/Subsystems.h"
#include "colour/ApplyColorFunction.h"
#include "colour/ColorFunctions.h"
#include "filtering/BitmapArithmetic.h"
#include "macro/ScriptedDesktop.h"
#include "optiondialog/FilterRecipes.h"
#include "platform/ProgramFolder.h"
#include "shell/TForm1.h"

namespace mv {
namespace {

// Wall time and the processor time of all the process's threads, in milliseconds.
struct Time {
  double wall = 0;
  double cpu = 0;
};

double ProcessCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

Time Measure(const std::function<void()>& work) {
  const double cpu = ProcessCpuMilliseconds();
  const auto start = std::chrono::steady_clock::now();
  work();
  return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
          ProcessCpuMilliseconds() - cpu};
}

// The run with the least wall time.
Time BestOf(int runs, const std::function<void()>& work, const std::function<void()>& prepare = {}) {
  Time best{1e300, 0};
  for (int i = 0; i < runs; ++i) {
    if (prepare) prepare();
    const Time time = Measure(work);
    if (time.wall < best.wall) best = time;
  }
  return best;
}

// Says nothing and is never cancelled.
class SilentFeedback : public Feedback {
 public:
  struct Dialog : ProgressDialog {
    void Start(const std::string&, int) override {}
    bool IsVisible() const override { return true; }
    void StepIt() override {}
  };
  BoxButton ShowMessageBox(BoxKind, const std::string& text, BoxButtons, int) override {
    std::fprintf(stderr, "box: %s\n", text.c_str());
    return kOK;
  }
  void SetMessage(const std::string&) override {}
  void SetCursor(Cursor) override {}
  std::unique_ptr<ProgressDialog> CreateProgressDialog() override { return std::make_unique<Dialog>(); }
  void ProcessPendingEvents() override {}
};

// The weights and divisor a command's recipe fetches, for the peer's mask.
struct Mask {
  int side = 3;
  std::vector<int32_t> weights;
  double divisor = 1;
};

Mask MaskOf(int mode, const DialogChoices& choices) {
  SilentFeedback feedback;
  const FilterRecipe recipe = *FilterRecipeFor(mode, choices);
  const FetchedKernel kernel = *FetchRecipeKernel(recipe, ExecutableFolder(), feedback);
  return {recipe.size, std::vector<int32_t>(kernel.weights.begin(), kernel.weights.end()), kernel.divisor};
}

// Best wall time of a shell command (its processor time is not the process's).
Time CommandMilliseconds(const std::string& command, int runs) {
  return BestOf(runs, [&] {
    if (std::system((command + " > /dev/null 2>&1").c_str()) != 0)
      std::fprintf(stderr, "failed: %s\n", command.c_str());
  });
}

// The window with the photo as its picture; each command runs on the photo, the cache holding only
// the photo, half a second after the previous one.
class BenchWindow {
 public:
  explicit BenchWindow(const Bitmap& photo)
      : photo_(photo),
        desktop_(ignored_, ExecutableFolder()),
        form_(desktop_, ExecutableFolder(), AllSubsystems()) {
    form_.Create();
    form_.image.Replace(photo_);
    form_.EnableImageCommands(true);
  }

  // The command chosen from its menu, the option dialog answered with `answer` (none: no dialog);
  // `then` runs inside the timing (the wave's click).
  Time Run(const char* menu, const char* item, std::vector<std::string> answer, int runs,
           const std::function<void()>& then = {}) {
    return BestOf(
        runs,
        [&] {
          if (item != nullptr) {
            form_.MenuOpening(menu);
            form_.MenuChosen(item);
          }
          if (then) then();
        },
        [&] {
          Reset();
          if (!answer.empty()) desktop_.Answers().Push(Answer{"option", answer});
        });
  }

  // The wave: requested before the timing, the click timed.
  Time RunWave(const char* item, std::vector<std::string> answer, int runs) {
    return BestOf(
        runs,
        [&] {
          MouseEvent click;
          click.x = photo_.Width() / 3;
          click.y = photo_.Height() / 2;
          form_.ImageMouseDown(click);
        },
        [&] {
          Reset();
          form_.MenuOpening("T1");
          form_.MenuChosen(item);
          desktop_.Answers().Push(Answer{"option", answer});
        });
  }

 private:
  void Reset() {
    form_.image.Edit() = photo_;
    form_.ClearUndo();
    form_.RecordUndo();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }

  const Bitmap& photo_;
  std::ostringstream ignored_;
  ScriptedDesktop desktop_;
  TForm1 form_;
};

struct Row {
  std::string ours, peer;
  Time oursTime, peerTime;
  double bound;  // the ratio of wall times the command should stay within
};

void PrintRows(const std::vector<Row>& rows) {
  std::printf("%-38s %8s %8s  %-42s %8s %8s %7s %6s\n", "command", "wall ms", "cpu ms", "peer", "wall ms",
              "cpu ms", "ratio", "bound");
  for (const Row& r : rows) {
    const double ratio = r.oursTime.wall / r.peerTime.wall;
    std::printf("%-38s %8.1f %8.1f  %-42s %8.1f %8.1f %7.3f %6.2f%s\n", r.ours.c_str(), r.oursTime.wall,
                r.oursTime.cpu, r.peer.c_str(), r.peerTime.wall, r.peerTime.cpu, ratio, r.bound,
                ratio <= r.bound ? "" : "  over");
  }
}

Time Sum(std::initializer_list<Time> parts) {
  Time sum;
  for (const Time& t : parts) sum.wall += t.wall, sum.cpu += t.cpu;
  return sum;
}

}  // namespace

int RunFilterBench(const char* programName, const std::string& folder, bool quick) {
  const VipsConvolution vips(programName);
  const Bitmap photo = SyntheticPhoto();
  BenchWindow window(photo);
  SilentFeedback feedback;
  std::vector<Row> rows;
  const int runs = 5;

  const auto conv = [&](int mode, const DialogChoices& choices) -> Time {
    const Mask mask = MaskOf(mode, choices);
    return BestOf(runs, [&] { vips.Conv(photo, mask.side, mask.weights, mask.divisor); });
  };
  DialogChoices defaults;
  defaults.slider1 = -5;  // averaging's default strength
  rows.push_back({"averaging (default, 3 x 3)", "vips conv, the same mask",
                  window.Run("P2", "A3", {"ok"}, runs), conv(6, defaults), 1.0});
  defaults.slider1 = 0;
  rows.push_back({"softening (strength 0, 3 x 3)", "vips conv, the same mask",
                  window.Run("P2", "F1", {"ok"}, runs), conv(5, defaults), 1.0});
  defaults.slider1 = 10;
  rows.push_back({"sharpening (4 directions, 10)", "vips conv, the same mask",
                  window.Run("P2", "S5", {"ok"}, runs), conv(18, defaults), 1.0});
  defaults.radio1 = 6;  // the strong emboss, kernel 0
  rows.push_back({"emboss (kernel 0, 3 x 3)", "vips conv, the same mask",
                  window.Run("T1", "E1", {"ok"}, runs), conv(7, defaults), 1.0});
  rows.push_back({"box blur s = 20 (43 x 43)", "vips convsep 43 taps",
                  window.Run("P2", "V2", {"ok", "slider1=20"}, runs),
                  BestOf(runs, [&] { vips.BoxSeparable(photo, 43); }), 1.0});
  rows.push_back({"median (rank 5, 3 x 3)", "vips rank 3 3 4", window.Run("P2", "N53", {"ok"}, runs),
                  BestOf(2, [&] { vips.Rank(photo, 3, 4); }), 1.0});
  for (int direction : {0, 2}) {
    DialogChoices blur;
    blur.slider1 = 20;
    blur.radio1 = direction;
    rows.push_back(
        {direction == 0 ? "motion blur 20, horizontal (41 taps)" : "motion blur 20, diagonal (41 taps)",
         "vips conv, the same 41 x 41 mask",
         window.Run("T1", "BlurB1", {"ok", "slider1=20", "radio1=" + std::to_string(direction)}, 3),
         conv(200, blur), 1.0});
  }
  for (int direction : {0, 5}) {
    DialogChoices wind;
    wind.slider1 = 20;
    wind.radio1 = direction;
    rows.push_back({direction == 0 ? "wind 20, right to left (21 taps)" : "wind 20, diagonal (21 taps)",
                    "vips conv, the same 41 x 41 mask",
                    window.Run("T1", "W5", {"ok", "slider1=20", "radio1=" + std::to_string(direction)}, 3),
                    conv(210, wind), 1.0});
  }

  // The unsharp mask and edge detection against their parts.
  Bitmap base = photo;
  const Bitmap other = photo;
  const Time subtraction =
      BestOf(runs, [&] { BitmapArithmetic(base, other, false, BitmapOperation::Subtract, 1.0, feedback); });
  const Time addition =
      BestOf(runs, [&] { BitmapArithmetic(base, other, false, BitmapOperation::Add, 1.0, feedback); });
  const Time grey = BestOf(runs, [&] {
    ApplyColorFunction(base, TGrayScale(), "", false, 0, std::array<int32_t, 3>{0, 0, 0}, 1.0, feedback);
  });
  for (const int s : {0, 10}) {
    const std::string size = "slider1=" + std::to_string(s);
    const Time box = window.Run("P2", "V2", {"ok", size}, runs);
    const std::string parts = "its parts (box blur s = " + std::to_string(s) + ", -, grey";
    rows.push_back({"unsharp mask s = " + std::to_string(s), parts + ", +)",
                    window.Run("P2", "S3", {"ok", size}, runs), Sum({box, subtraction, grey, addition}),
                    1.5});
    rows.push_back({"edge detection s = " + std::to_string(s), parts + ")",
                    window.Run("P2", "E3", {"ok", size}, runs), Sum({box, subtraction, grey}), 1.5});
  }

  // Mosaic and the waves against their budget.
  const Time budget{150, 0};
  rows.push_back({"mosaic 10", "budget", window.Run("T1", "N59", {"ok"}, runs), budget, 1.0});
  rows.push_back({"mosaic 2", "budget", window.Run("T1", "N59", {"ok", "slider1=2"}, runs), budget, 1.0});
  rows.push_back(
      {"wave (wavelength 10, amplitude 127)", "budget", window.RunWave("W6", {"ok"}, runs), budget, 1.0});
  rows.push_back(
      {"strange wave (wavelength 10)", "budget", window.RunWave("N60", {"ok"}, runs), budget, 1.0});

  // The Gaussian against ImageMagick.
  const Time gauss = window.Run("P2", "G1", {"ok", "slider1=20"}, 3);
  if (!quick) {
    std::filesystem::create_directories(folder);
    const std::string in = folder + "/in.ppm", out = folder + "/out.ppm";
    bench::WritePpm(in, photo);
    DialogChoices gaussian;
    gaussian.slider1 = 20;
    const Mask mask = MaskOf(16, gaussian);
    std::ostringstream kernel;
    kernel << "41x41:";
    for (std::size_t i = 0; i < mask.weights.size(); ++i) kernel << (i ? "," : "") << mask.weights[i];
    const Time copy = CommandMilliseconds("convert " + in + " " + out, 3);
    const Time convolve = CommandMilliseconds(
        "convert " + in + " -define convolve:scale='!' -morphology Convolve '" + kernel.str() + "' " + out,
        1);
    rows.push_back({"Gaussian blur s = 20 (41 x 41)", "convert -morphology Convolve, same kernel", gauss,
                    Time{convolve.wall - copy.wall, 0}, 0.1});
  } else {
    std::printf("Gaussian blur s = 20 (41 x 41): %.1f ms (ImageMagick left out)\n", gauss.wall);
  }

  std::printf("%d x %d picture, %u processors; commands from the click to the undo entry\n\n", photo.Width(),
              photo.Height(), std::thread::hardware_concurrency());
  PrintRows(rows);
  return 0;
}

}  // namespace mv

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/mv-filters-bench";
  const bool quick = argc > 2 && std::string(argv[2]) == "quick";
  return mv::RunFilterBench(argv[0], folder, quick);
}
