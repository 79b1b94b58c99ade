// The colour commands on a 4000 x 3000 24-bit picture (36 MB), side by side with libvips in the
// same process:
//  - the pixel work of each command (the colour driver over a copy, no progress dialog), against
//    one memory pass (a copy of the picture into memory written before);
//  - each colour command of the window on the whole picture, from the click to the recorded undo
//    entry (its dialog, answered OK at once, opens on the thumbnail of the copy), half a second
//    after the previous command as a user gives them (the undo cache prepares its next entry's
//    memory in the background meanwhile; commands given back to back wait for that);
//  - the 188-pixel thumbnail every dialog opens on, and resizing to 2000 x 1500;
//  - the option dialog call from the picture to the model ready to show (thumbnail, set-up, first
//    preview) in every mode, and one preview recomputed after a slider move;
//  - libvips evaluating maplut, linear, colourspace to B_W, hist_find, resize, shrink and
//    thumbnail_image into memory from a picture already in memory, timed after all of ours.
// Figures are the best of 7 runs in wall milliseconds (the machines are shared: the best run is the
// one least disturbed by other work).
//
// Usage: colour_bench

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../SyntheticPhoto.h"
#include "VipsPeer.h"
#include "colour/ApplyColorFunction.h"
#include "colour/ColorFunctions.h"
#include "colour/Resample.h"
#include "macro/ScriptedDesktop.h"
#include "optiondialog/OptionDialogCall.h"
#include "optiondialog/OptionModes.h"
#include "platform/ProgramFolder.h"
#include "shell/TForm1.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

constexpr int kRuns = 7;

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double BestOf(const std::function<void()>& work, const std::function<void()>& prepare = {}) {
  double best = 1e300;
  for (int i = 0; i < kRuns; ++i) {
    if (prepare) prepare();
    best = std::min(best, Milliseconds(work));
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
  BoxButton ShowMessageBox(BoxKind, const std::string&, BoxButtons, int) override { return kOK; }
  void SetMessage(const std::string&) override {}
  void SetCursor(Cursor) override {}
  std::unique_ptr<ProgressDialog> CreateProgressDialog() override { return std::make_unique<Dialog>(); }
  void ProcessPendingEvents() override {}
};

struct ColourCommand {
  const char* name;
  std::unique_ptr<TColorFunction> func;
  std::vector<int32_t> params;
  double value;
  int32_t mode;
};

std::vector<ColourCommand> ColourCommands() {
  std::vector<ColourCommand> commands;
  commands.push_back({"brightness +40", std::make_unique<TBrightnessChange>(), {0, 0, 0}, 40, 0});
  commands.push_back({"gamma 1.5", std::make_unique<TGammaCorrection>(), {0, 0, 0}, 1.5, 0});
  commands.push_back({"contrast 0.58", std::make_unique<TContrastChange>(), {0, 0, 0}, 0.58, 0});
  commands.push_back({"RGB offsets 20 -30 40", std::make_unique<TRGBEachOffset>(), {20, -30, 40}, 1.0, 0});
  commands.push_back({"grey scale", std::make_unique<TGrayScale>(), {0, 0, 0}, 1.0, 0});
  commands.push_back({"binarization 128, mean", std::make_unique<TBlackAndWhite>(), {0, 0, 0}, 128, 0});
  commands.push_back({"inversion", std::make_unique<TColorInverse>(), {0, 0, 0}, 1.0, 0});
  commands.push_back({"channel exchange", std::make_unique<TRGBExchange>(), {0, 0, 0}, 1.0, 0});
  commands.push_back({"solarization 5, mountain", std::make_unique<TSolarization>(), {5}, 5, 0});
  commands.push_back({"posterization 6", std::make_unique<TPosterization>(), {6}, 1.0, 0});
  commands.push_back({"XOR 128", std::make_unique<TXORTrans>(), {128}, 1.0, 0});
  commands.push_back(
      {"histogram stretch 50..200", std::make_unique<TExpandShrinkRGB>(), {50, 200, 0, 0}, 1.0, 0});
  return commands;
}

}  // namespace

int RunColourBench(const char* programName) {
  const VipsPeer vips(programName);
  const Bitmap photo = SyntheticPhoto();
  SilentFeedback feedback;
  Bitmap work = photo;
  std::vector<uint8_t> target(photo.Stride() * static_cast<std::size_t>(photo.Height()), 1);

  const double pass = BestOf([&] { std::memcpy(target.data(), photo.Row(0), target.size()); });
  std::printf("%d x %d picture, %.1f MB; one memory pass (memcpy into used memory): %.2f ms\n\n",
              photo.Width(), photo.Height(), static_cast<double>(target.size()) / 1e6, pass);
  std::printf("%-28s %10s %14s\n", "pixel work", "ms", "x memory pass");
  double slowest = 0;
  for (const ColourCommand& command : ColourCommands()) {
    const double ms = BestOf(
        [&] {
          ApplyColorFunction(work, *command.func, "", false, command.mode, command.params, command.value,
                             feedback);
        },
        [&] { std::memcpy(work.Row(0), photo.Row(0), target.size()); });
    std::printf("%-28s %10.2f %14.2f\n", command.name, ms, ms / pass);
    slowest = std::max(slowest, ms);
  }

  // The commands of the window, the dialogs answered as a macro answers them.
  std::ostringstream ignored;
  ScriptedDesktop desktop(ignored, ExecutableFolder());
  test::WindowCore window(desktop, ExecutableFolder());
  window.Load(photo);
  TForm1& form = window.form;
  form.MenuOpening("N35");
  std::printf("\n%-28s %10s\n", "command, click to undo entry", "ms");
  double slowestCommand = 0;
  const struct {
    const char* item;
    const char* answer;  // the dialog's answer, or none
    const char* name;
  } commands[] = {{"N48", "option", "brightness"},  {"N47", "option", "gamma"},
                  {"C1", "option", "contrast"},     {"RGB1", "rgb", "RGB offsets"},
                  {"N44", nullptr, "grey scale"},   {"N211", "option", "binarization"},
                  {"R2", nullptr, "inversion"},     {"RGBE1", nullptr, "channel exchange"},
                  {"S4", "option", "solarization"}, {"P3", "option", "posterization"},
                  {"XORX1", "option", "XOR"}};
  for (const auto& command : commands) {
    const double ms = BestOf([&] { form.MenuChosen(command.item); },
                             [&] {
                               // The user looks at the last result before the next click.
                               std::this_thread::sleep_for(std::chrono::milliseconds(500));
                               if (command.answer == nullptr) return;
                               if (std::string(command.answer) == "rgb") {
                                 desktop.Answers().Push(Answer{"rgb", {"ok", "20", "-30", "40"}});
                               } else {
                                 desktop.Answers().Push(Answer{"option", {"ok", "slider1=40"}});
                               }
                             });
    std::printf("%-28s %10.2f\n", command.name, ms);
    slowestCommand = std::max(slowestCommand, ms);
  }
  form.ClearUndo();

  std::printf("\n%-28s %10s\n", "resampling", "ms");
  const double thumbnail = BestOf([&] { MakeThumbnail(photo, 188, feedback); });
  const double resize = BestOf([&] { ResampleBitmap(photo, 2000, 1500, feedback); });
  std::printf("%-28s %10.2f\n", "thumbnail 188 x 141", thumbnail);
  std::printf("%-28s %10.2f\n", "thumbnail 148 x 111", BestOf([&] { MakeThumbnail(photo, 148, feedback); }));
  std::printf("%-28s %10.2f\n", "resize to 2000 x 1500", resize);

  std::printf("\n%-28s %10s %12s\n", "option dialog mode, 12 MP", "open ms", "preview ms");
  double slowestOpen = 0, slowestPreview = 0;
  for (const int mode :
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18, 20, 21, 100, 101, 200, 210}) {
    OptionDialogCall call;
    call.services.feedback = &feedback;
    call.services.programFolder = ExecutableFolder();
    call.messageLine = [] { return std::string(); };
    call.show = [](TPNGOpt&) { return false; };
    const double open = BestOf([&] { RunOptionDialog(call, photo, mode, {0, 0}); });
    // A preview after a slider move, the slider going between its ends.
    double preview = 0;
    call.show = [&preview](TPNGOpt& dialog) {
      bool high = false;
      preview = BestOf([&] {
        high = !high;
        dialog.TrackBar1Change(high ? dialog.TrackBar1.maximum : dialog.TrackBar1.minimum);
        dialog.TrackBar2Change(high ? dialog.TrackBar2.maximum : dialog.TrackBar2.minimum);
        dialog.UpdatePreview();
      });
      return false;
    };
    RunOptionDialog(call, photo, mode, {0, 0});
    const ModeSetup* setup = FindModeSetup(mode);
    std::printf("%-28d %10.2f %12.2f  %s\n", mode, open, preview, setup->title.c_str());
    slowestOpen = std::max(slowestOpen, open);
    slowestPreview = std::max(slowestPreview, preview);
  }
  std::printf("slowest open %.2f ms, slowest preview %.2f ms\n", slowestOpen, slowestPreview);

  std::printf("\n%-28s %10s\n", "libvips in-process", "ms");
  for (const VipsPeer::Operation& operation : vips.Operations(photo)) {
    const double ms = BestOf(operation.run);
    std::printf("%-28s %10.2f", operation.name.c_str(), ms);
    if (operation.name.starts_with("resize")) std::printf("   our resize: %.2f x", resize / ms);
    if (operation.name.starts_with("shrink") || operation.name.starts_with("thumbnail"))
      std::printf("   our thumbnail: %.2f x", thumbnail / ms);
    if (operation.name.starts_with("maplut")) {
      std::printf("   our slowest pixel work: %.2f x, slowest command: %.2f x", slowest / ms,
                  slowestCommand / ms);
    }
    if (operation.name.starts_with("hist"))
      std::printf("   our slowest command: %.2f x", slowestCommand / ms);
    std::printf("\n");
  }
  return 0;
}

}  // namespace mv

int main(int, char** argv) {
  return mv::RunColourBench(argv[0]);
}
