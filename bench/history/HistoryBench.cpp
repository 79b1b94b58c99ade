// The undo cache on a 4000 x 3000 picture (36 MB at 24 bits per pixel):
//  - resident memory after loading it and after recording 20 commands (each a mirror of the whole
//    picture through the processing frame, which records it);
//  - the time of one RecordUndo, against a plain memcpy of the same size into memory used before:
//    appending into fresh memory (no spare kept or prepared), as a command on a selection records
//    (its region drawn back, the entry appended) half a second after the previous command and right
//    after it, as a whole-picture command records (its work copy at hand), and after an undo (the
//    dropped redo entry's memory at hand);
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
#include <thread>
#include <vector>

#include "../SyntheticPhoto.h"
#include "app/Subsystems.h"
#include "colour/Resample.h"
#include "colour/Transform.h"
#include "geometry/GeometryCommands.h"
#include "macro/ScriptedDesktop.h"
#include "shell/ProcessingFrame.h"
#include "shell/TForm1.h"

namespace mv {
namespace {

constexpr int kWidth = kPhotoWidth, kHeight = kPhotoHeight;

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
  TForm1 form(desktop, "/tmp", AllSubsystems());
  GeometryCommands& geometry = *form.FindSubsystem<GeometryCommands>();
  form.Create();
  std::printf("resident at start: %.0f MB\n", ResidentMegabytes());

  // Loaded as the load routine leaves it: the picture and cache entry 0.
  form.image.Replace(SyntheticPhoto());
  form.EnableImageCommands(true);
  form.ClearUndo();
  form.RecordUndo();
  std::printf("resident after loading (picture + entry 0): %.0f MB\n", ResidentMegabytes());

  // The first ten at once, the next ten with a user's pause before each.
  std::vector<double> mirrors, pausedMirrors;
  for (int i = 0; i < 10; ++i) mirrors.push_back(Milliseconds([&] { geometry.N26Click(); }));
  for (int i = 0; i < 10; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    pausedMirrors.push_back(Milliseconds([&] { geometry.N26Click(); }));
  }
  std::printf(
      "resident after 20 recorded commands (%zu entries): %.0f MB (of which kept for reuse: %.0f MB)\n",
      form.history.UndoCache.size(), ResidentMegabytes(),
      static_cast<double>(PixelBuffer::KeptBytes()) / (1024.0 * 1024.0));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  std::printf("resident 0.5 s later, the spare for the next command prepared: %.0f MB\n",
              ResidentMegabytes());

  // One RecordUndo appending an entry in fresh memory, against a memcpy into memory written before.
  const std::size_t bytes = form.image.Picture().Stride() * kHeight;
  std::vector<uint8_t> target(bytes, 1);
  std::vector<double> copies, fresh, selectionPaused, selectionAtOnce, inFrame, reuses;
  for (int i = 0; i < 7; ++i) {
    copies.push_back(Milliseconds([&] { std::memcpy(target.data(), form.image.Picture().Row(0), bytes); }));
    form.history.preparedSpare = {};
    form.history.spareEntries.clear();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // released memory goes back
    form.image.Edit().Row(0)[0] = static_cast<uint8_t>(i);
    fresh.push_back(Milliseconds([&] { form.RecordUndo(); }));
  }
  // A command on a selection: the region's mirror is drawn back and the whole picture recorded.
  form.selection.SelectionActive = true;
  form.selection.SelectionStart = {1000, 1000};
  form.selection.SelectionEnd = {1400, 1300};
  std::vector<double> wholePaused, wholeAtOnce;  // the whole command's time
  auto selectionCommand = [&](std::chrono::milliseconds pause, std::vector<double>& recording,
                              std::vector<double>& whole) {
    std::this_thread::sleep_for(pause);
    std::chrono::steady_clock::time_point placed;
    FrameCommand mirror;
    mirror.work = [](Bitmap& copy, const Rect&) -> std::optional<Bitmap> { return TransformPixels(2, copy); };
    mirror.afterPlacing = [&](const Rect&) { placed = std::chrono::steady_clock::now(); };
    whole.push_back(Milliseconds([&] { form.RunProcessingFrame(mirror); }));
    recording.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - placed).count());
  };
  for (int i = 0; i < 7; ++i) selectionCommand(std::chrono::milliseconds(500), selectionPaused, wholePaused);
  for (int i = 0; i < 7; ++i) selectionCommand(std::chrono::milliseconds(0), selectionAtOnce, wholeAtOnce);
  form.selection.SelectionActive = false;
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
  std::printf("RecordUndo appending into fresh memory (no spare): %.1f ms (%.2f x memcpy)\n", Median(fresh),
              Median(fresh) / copy);
  std::printf(
      "RecordUndo of a command on a selection, 0.5 s after the previous: %.1f ms (%.2f x memcpy; "
      "whole command %.1f ms)\n",
      Median(selectionPaused), Median(selectionPaused) / copy, Median(wholePaused));
  std::printf(
      "RecordUndo of a command on a selection, right after the previous: %.1f ms (%.2f x memcpy; "
      "whole command %.1f ms)\n",
      Median(selectionAtOnce), Median(selectionAtOnce) / copy, Median(wholeAtOnce));
  std::printf("RecordUndo of a whole-picture command (its work copy reused): %.1f ms (%.2f x memcpy)\n",
              Median(inFrame), Median(inFrame) / copy);
  std::printf("RecordUndo after an undo (the dropped entry reused): %.1f ms (%.2f x memcpy)\n",
              Median(reuses), Median(reuses) / copy);
  std::printf("resident with %zu entries: %.0f MB (of which memory kept for reuse: %.0f MB)\n",
              form.history.UndoCache.size(), ResidentMegabytes(),
              static_cast<double>(PixelBuffer::KeptBytes()) / (1024.0 * 1024.0));

  form.ClearUndo();
  form.RecordUndo();
  std::printf(
      "mirror through the frame, recorded: %.0f ms (median of 10 at once), %.0f ms (median of 10, "
      "each 0.5 s after the previous)\n",
      Median(mirrors), Median(pausedMirrors));
  std::printf("clockwise rotation through the frame, recorded: %.0f ms\n",
              Milliseconds([&] { geometry.N901Click(); }));
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
