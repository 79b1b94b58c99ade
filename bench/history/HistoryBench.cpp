// The undo cache on a 4000 x 3000 picture (36 MB at 24 bits per pixel):
//  - resident memory after loading it and after recording 20 commands (each a mirror of the whole
//    picture through the processing frame, which records it);
//  - the time of one RecordUndo, against a plain memcpy of the same size into memory used before:
//    appending into fresh memory, as a whole-picture command records (its work copy at hand), and
//    after an undo (the dropped redo entry's memory at hand);
//  - for scale, the geometry commands themselves: mirror and rotation through the frame, resizing
//    to half and the 188-pixel thumbnail.
//
// Usage: history_bench

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "colour/Resample.h"
#include "colour/Transform.h"
#include "macro/ScriptedDesktop.h"
#include "shell/ProcessingFrame.h"
#include "shell/TForm1.h"

namespace mv {
namespace {

constexpr int kWidth = 4000, kHeight = 3000;

Bitmap PhotoLike() {
  Bitmap b(kWidth, kHeight);
  std::mt19937 rng(42);
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < kWidth; ++x) {
      const int noise = static_cast<int>(rng() % 13) - 6;
      row[x * 3] = static_cast<uint8_t>(std::clamp(x / 16 + noise, 0, 255));
      row[x * 3 + 1] = static_cast<uint8_t>(std::clamp(y / 12 + noise, 0, 255));
      row[x * 3 + 2] = static_cast<uint8_t>(((x / 200 + y / 200) % 2) * 200 + noise + 20);
    }
  }
  return b;
}

double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int RunHistoryBench() {
  std::ostringstream ignored;
  ScriptedDesktop desktop(ignored, "/tmp");
  TForm1 form(desktop, "/tmp");
  form.Create();
  std::printf("resident at start: %.0f MB\n", ResidentMegabytes());

  // Loaded as the load routine leaves it: the picture and cache entry 0.
  form.image.Replace(PhotoLike());
  form.EnableImageCommands(true);
  form.ClearUndo();
  form.RecordUndo();
  std::printf("resident after loading (picture + entry 0): %.0f MB\n", ResidentMegabytes());

  std::vector<double> mirrors;
  for (int i = 0; i < 20; ++i) mirrors.push_back(Milliseconds([&] { form.N26Click(); }));
  std::printf("resident after 20 recorded commands (%zu entries): %.0f MB\n", form.history.UndoCache.size(),
              ResidentMegabytes());

  // One RecordUndo appending an entry in fresh memory, against a memcpy into memory written before.
  const std::size_t bytes = form.image.Picture().Stride() * kHeight;
  std::vector<uint8_t> target(bytes, 1);
  std::vector<double> copies, fresh, inFrame, reuses;
  for (int i = 0; i < 7; ++i) {
    copies.push_back(Milliseconds([&] { std::memcpy(target.data(), form.image.Picture().Row(0), bytes); }));
    form.history.spareEntries.clear();
    form.image.Edit().Row(0)[0] = static_cast<uint8_t>(i);
    fresh.push_back(Milliseconds([&] { form.RecordUndo(); }));
  }
  // The recording as a whole-picture command makes it: its work copy is at hand.
  for (int i = 0; i < 7; ++i) {
    std::chrono::steady_clock::time_point placed;
    FrameCommand mirror;
    mirror.work = [](Bitmap& copy, const Rect&) -> std::optional<Bitmap> { return TransformPixels(2, copy); };
    mirror.afterPlacing = [&](const Rect&) { placed = std::chrono::steady_clock::now(); };
    form.RunProcessingFrame(mirror);
    inFrame.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - placed).count());
  }
  // After an undo the recording drops the redo entry and copies into the memory it held.
  for (int i = 0; i < 7; ++i) {
    form.N46Click();
    reuses.push_back(Milliseconds([&] { form.RecordUndo(); }));
  }
  const double copy = Median(copies);
  std::printf("memcpy of %.1f MB into used memory: %.1f ms\n", static_cast<double>(bytes) / 1e6, copy);
  std::printf("RecordUndo appending into fresh memory: %.1f ms (%.2f x memcpy)\n", Median(fresh),
              Median(fresh) / copy);
  std::printf("RecordUndo of a whole-picture command (its work copy reused): %.1f ms (%.2f x memcpy)\n",
              Median(inFrame), Median(inFrame) / copy);
  std::printf("RecordUndo after an undo (the dropped entry reused): %.1f ms (%.2f x memcpy)\n",
              Median(reuses), Median(reuses) / copy);
  std::printf("resident with %zu entries: %.0f MB\n", form.history.UndoCache.size(), ResidentMegabytes());

  form.ClearUndo();
  form.RecordUndo();
  std::printf("mirror through the frame, recorded: %.0f ms (median of 20)\n", Median(mirrors));
  std::printf("clockwise rotation through the frame, recorded: %.0f ms\n",
              Milliseconds([&] { form.N901Click(); }));
  std::optional<Bitmap> half;
  std::printf("resampling to 2000 x 1500: %.0f ms\n", Milliseconds([&] {
                half = ResampleBitmap(form.image.Picture(), 2000, 1500, form.GetFeedback());
              }));
  std::printf("thumbnail of 188 pixels: %.0f ms\n",
              Milliseconds([&] { half = MakeThumbnail(form.image.Picture(), 188, form.GetFeedback()); }));
  return 0;
}

}  // namespace mv

int main() {
  return mv::RunHistoryBench();
}
