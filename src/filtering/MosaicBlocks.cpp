#include "filtering/MosaicBlocks.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "filtering/ColorFilters.h"
#include "filtering/RowScheduler.h"
#include "platform/Numbers.h"
#include "platform/Parallel.h"

namespace mv {

namespace {

// A window of this many elements is more than any block the dialog offers (100 x 100).
constexpr int64_t kLargestWindow = int64_t{1} << 24;

Pixel* PixelAt(Bitmap& bitmap, int x, int y) {
  return reinterpret_cast<Pixel*>(bitmap.Row(y) + 3 * static_cast<std::size_t>(x));
}

// The straightforward rule: a window per block and the filter's Apply, blocks in scan order.
RowProducer GenericBlockRows(Bitmap& bitmap, const TColorFilter& filter, int s) {
  return [&bitmap, &filter, s](int begin, int end, const std::function<bool(int)>& rowDone) {
    const std::size_t elements = static_cast<std::size_t>(s) * static_cast<std::size_t>(s);
    std::vector<Pixel*> window(elements);
    const std::vector<int32_t> kernel(elements, 0);
    for (int blockRow = begin; blockRow < end; ++blockRow) {
      const int by = blockRow * s;
      for (int bx = 0; bx < bitmap.Width(); bx += s) {
        for (int j = 0; j < s; ++j) {
          for (int k = 0; k < s; ++k) {
            const bool inside = by + j < bitmap.Height() && bx + k < bitmap.Width();
            window[static_cast<std::size_t>(j) * s + k] = inside ? PixelAt(bitmap, bx + k, by + j) : nullptr;
          }
        }
        *PixelAt(bitmap, bx, by) = filter.Apply(window, kernel, 0, 0);
      }
      if (!rowDone(blockRow)) return;
    }
  };
}

// TMozaicFilter: every pixel of a block takes the colour of the block's top-left pixel. Blocks
// touch only their own pixels, so rows of blocks may run side by side.
RowProducer FilledBlockRows(Bitmap& bitmap, int s) {
  return [&bitmap, s](int begin, int end, const std::function<bool(int)>& rowDone) {
    const int width = bitmap.Width();
    for (int blockRow = begin; blockRow < end; ++blockRow) {
      const int by = blockRow * s;
      const int rows = std::min(s, bitmap.Height() - by);
      Pixel* top = PixelAt(bitmap, 0, by);
      for (int bx = 0; bx < width; bx += s) {
        const Pixel fill = top[bx];
        std::fill(top + bx, top + std::min(bx + s, width), fill);
      }
      for (int j = 1; j < rows; ++j) std::copy(top, top + width, PixelAt(bitmap, 0, by + j));
      if (!rowDone(blockRow)) return;
    }
  };
}

enum class Outcome { Completed, Cancelled };

Outcome Repaint(Bitmap& bitmap, const TColorFilter& filter, const BlockSettings& settings,
                Feedback& feedback) {
  const int s = settings.blockSize;
  if (s < 1 || int64_t{s} * s > kLargestWindow) throw RangeError();
  const int blockRows = bitmap.Height() / s + (bitmap.Height() % s != 0 ? 1 : 0);
  const bool fills = dynamic_cast<const TMozaicFilter*>(&filter) != nullptr;
  const RowProducer producer = fills ? FilledBlockRows(bitmap, s) : GenericBlockRows(bitmap, filter, s);
  RowHooks hooks;
  std::unique_ptr<ProgressDialog> dialog;
  if (settings.showProgress) {
    dialog = feedback.CreateProgressDialog();
    dialog->Start(settings.name + "の進捗状況", bitmap.Height());
    hooks.beforeRow = [&dialog] { return dialog->IsVisible(); };
    hooks.afterRow = [&dialog, &feedback] {
      dialog->StepIt();
      feedback.ProcessPendingEvents();
    };
  }
  const int threads = !fills ? 1 : settings.threads > 0 ? settings.threads : ParallelThreads();
  return RunRows(blockRows, threads, producer, hooks) == RowRunResult::Completed ? Outcome::Completed
                                                                                 : Outcome::Cancelled;
}

}  // namespace

std::optional<Bitmap> MosaicBlocks(Bitmap bitmap, const TColorFilter& filter, const BlockSettings& settings,
                                   Feedback& feedback) {
  const BusyCursor hourglass(feedback);
  try {
    if (bitmap.Format() != PixelFormat::Bgr24) bitmap = bitmap.ToBgr24();
    if (Repaint(bitmap, filter, settings, feedback) == Outcome::Cancelled) {
      feedback.SetMessage("キャンセルしました");
      return std::nullopt;
    }
    if (!settings.name.empty()) feedback.SetMessage(settings.name + "が完了しました");
    return bitmap;
  } catch (const std::bad_alloc&) {
    feedback.SetMessage("失敗:Out of memory");
  } catch (const std::exception& error) {
    feedback.SetMessage(std::string("失敗:") + error.what());
  }
  return std::nullopt;
}

}  // namespace mv
