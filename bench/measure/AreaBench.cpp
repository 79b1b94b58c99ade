// The binarized-area command (N43) on the whole 4000 x 3000 picture, from the click to its result
// box, against the binarization (N211) alone from its click to its recorded undo entry: the
// command's own part (the counts' report, the box) should cost next to nothing beside the
// binarization it runs. Both dialogs are answered OK at once (the automatic threshold). The two
// commands run in turn, each half a second after the previous one has been undone, as a user gives
// commands (the undo cache prepares its next entry's memory meanwhile). Figures are the best of 7
// runs in wall milliseconds.
//
// Usage: area_bench

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <thread>

#include "../SyntheticPhoto.h"
#include "macro/ScriptedDesktop.h"
#include "platform/ProgramFolder.h"
#include "shell/TForm1.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

using Clock = std::chrono::steady_clock;

// Notes when the last information box was shown.
class TimingDesktop : public ScriptedDesktop {
 public:
  using ScriptedDesktop::ScriptedDesktop;
  BoxButton ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons, int help) override {
    if (kind == BoxKind::Information) lastBox = Clock::now();
    return ScriptedDesktop::ShowMessageBox(kind, text, buttons, help);
  }
  Clock::time_point lastBox;
};

double Milliseconds(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

int RunAreaBench() {
  std::ostringstream ignored;
  TimingDesktop desktop(ignored, ExecutableFolder());
  test::WindowCore window(desktop, ExecutableFolder());
  window.Load(SyntheticPhoto());
  TForm1& form = window.form;
  form.MenuOpening("N35");
  form.MenuOpening("N9");

  // One command from its click to the end its user waits for.
  const auto time = [&](const char* item, bool toTheBox) {
    if (form.history.UndoPosition > 0) form.N46Click();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    desktop.Answers().Push(Answer{"option", {"ok"}});
    form.MenuOpening("N9");
    const Clock::time_point start = Clock::now();
    form.MenuChosen(item);
    return Milliseconds(start, toTheBox ? desktop.lastBox : Clock::now());
  };
  // The two in turn, so both meet the machine's load alike.
  double binarization = 1e300, area = 1e300;
  for (int run = 0; run < 7; ++run) {
    binarization = std::min(binarization, time("N211", false));
    area = std::min(area, time("N43", true));
  }
  std::printf("%d x %d picture, best of 7 runs\n", form.image.Width(), form.image.Height());
  std::printf("%-44s %10.2f ms\n", "binarization N211, click to undo entry", binarization);
  std::printf("%-44s %10.2f ms\n", "binarized area N43, click to result box", area);
  std::printf("ratio %.2f (at most 1.5)\n", area / binarization);
  return 0;
}

}  // namespace mv

int main() {
  return mv::RunAreaBench();
}
