// The save commands and the 8-bit conversion of the window, timed the way a user meets them:
//   saving_bench <photo.ppm> <folder>
// loads the picture as the working image of the main window core (every subsystem, the dialogs
// answered at once as a macro answers them) and prints one line "name ms" per command, the best of
// three runs, each from the click to its end: for "保存(&S)" the file written to <folder> (the save
// dialog's answer, the quality or option dialog, the encoder, the file on disk), for "8bit" the
// converted picture recorded for undo. The 8-bit picture is also written to <folder>/eight.png for
// its PSNR. bench/saving/run-bench runs it beside cjpeg, libvips and ImageMagick.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>

#include "../codecs/PpmFiles.h"
#include "codecs/PngImage.h"
#include "macro/ScriptedDesktop.h"
#include "platform/ProgramFolder.h"
#include "shell/TForm1.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

constexpr int kRuns = 3;

// Best of kRuns runs in milliseconds; `prepare` runs before each run, untimed, with the run's number.
double BestOf(const std::function<void(int)>& work, const std::function<void(int)>& prepare) {
  double best = 1e300;
  for (int run = 0; run < kRuns; ++run) {
    prepare(run);
    const auto start = std::chrono::steady_clock::now();
    work(run);
    best = std::min(
        best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

int RunSavingBench(const std::string& ppm, const std::string& folder) {
  const Bitmap photo = bench::ReadPpm(ppm);
  std::ostringstream ignored;
  ScriptedDesktop desktop(ignored, ExecutableFolder());
  test::WindowCore window(desktop, ExecutableFolder());
  window.Load(photo);
  TForm1& form = window.form;

  const struct {
    const char* name;
    const char* extension;
    Answer options;  // the format's dialog answer
  } saves[] = {
      {"jpeg-save", ".jpg", Answer{"lib", {"CompressDialog", "90"}}},
      {"png-save", ".png", Answer{"option", {"ok"}}},  // level 9, filter 0
      {"gif-save", ".gif", Answer{"option", {"ok"}}},  // no transparent colour
      {"bmp-save", ".bmp", Answer{}},
  };
  for (const auto& save : saves) {
    // Each run saves a new file: replacing one adds a flush to disk that the peers do not make.
    const double ms = BestOf([&](int) { form.MenuChosen("S1"); },
                             [&](int run) {
                               const std::string name = "ours" + std::to_string(run) + save.extension;
                               desktop.Answers().Push(Answer{"file", {folder + "/" + name}});
                               if (!save.options.kind.empty()) desktop.Answers().Push(save.options);
                             });
    std::printf("%s %.1f\n", save.name, ms);
  }

  const double eight = BestOf([&](int) { form.MenuChosen("N8bit1"); },
                              [&](int) {
                                form.image.Replace(photo);
                                form.menus.SetChecked(form.menus.Get("N24bit1"), true);
                              });
  std::printf("8bit %.1f\n", eight);
  WritePngFile(folder + "/eight.png", form.image.Picture(), PngWriteOptions{});
  return 0;
}

}  // namespace
}  // namespace mv

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: saving_bench <photo.ppm> <folder>\n");
    return 2;
  }
  try {
    return mv::RunSavingBench(argv[1], argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "saving_bench: %s\n", error.what());
    return 1;
  }
}
