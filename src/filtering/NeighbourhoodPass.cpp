#include "filtering/NeighbourhoodPass.h"

#include <exception>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "filtering/PassContext.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

int ThreadCount(const PassSettings& settings, const TColorFilter& filter) {
  // A filter that writes through its window depends on the scan order: one thread.
  if (!ReadsOnlyThroughWindow(filter)) return 1;
  if (settings.threads > 0) return settings.threads;
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

enum class Outcome { Completed, Cancelled };

Outcome Filter(Bitmap& source, Bitmap& output, const TColorFilter& filter, std::span<const int32_t> kernel,
               double divisor, int32_t parameter, const PassSettings& settings, Feedback& feedback,
               std::unique_ptr<ProgressDialog>& dialog) {
  const std::vector<int32_t> ownKernel(kernel.begin(), kernel.end());
  const PassContext pass{source, output, settings.radius, filter, ownKernel, divisor, parameter};
  const RowProducer producer = FastRows(pass).value_or(GenericRows(pass));
  RowHooks hooks;
  if (settings.showProgress) {
    dialog = feedback.CreateProgressDialog();
    dialog->Start(settings.caption + "の進捗状況", source.Height());
    hooks.beforeRow = [&dialog] { return dialog->IsVisible(); };
    hooks.afterRow = [&dialog, &feedback] {
      dialog->StepIt();
      feedback.ProcessPendingEvents();
    };
  }
  const RowRunResult result = RunRows(output.Height(), ThreadCount(settings, filter), producer, hooks);
  return result == RowRunResult::Completed ? Outcome::Completed : Outcome::Cancelled;
}

}  // namespace

std::optional<Bitmap> RunNeighbourhoodPass(Bitmap padded, const TColorFilter& filter,
                                           std::span<const int32_t> kernel, double divisor, int32_t parameter,
                                           const PassSettings& settings, Feedback& feedback) {
  const BusyCursor cursor(feedback);
  std::unique_ptr<ProgressDialog> dialog;
  try {
    const int64_t r = settings.radius;
    const int64_t width = int64_t{padded.Width()} - 2 * r, height = int64_t{padded.Height()} - 2 * r;
    if (r < 0 || width < 0 || height < 0) throw RangeError();
    Bitmap source = padded.Format() == PixelFormat::Bgr24 ? std::move(padded) : padded.ToBgr24();
    // Every producer writes whole rows; a cancelled or failed pass returns none of them.
    Bitmap output(static_cast<int>(width), static_cast<int>(height), PixelFormat::Bgr24,
                  PixelBuffer::Fill::Unspecified);
    const Outcome outcome =
        Filter(source, output, filter, kernel, divisor, parameter, settings, feedback, dialog);
    dialog.reset();
    if (outcome == Outcome::Cancelled) {
      feedback.SetMessage("キャンセルしました");
      return std::nullopt;
    }
    if (!settings.quiet) feedback.SetMessage(settings.caption + "が完了しました");
    return output;
  } catch (const std::bad_alloc&) {
    dialog.reset();
    feedback.SetMessage("失敗:Out of memory");
  } catch (const std::exception& error) {
    dialog.reset();
    feedback.SetMessage(std::string("失敗:") + error.what());
  }
  return std::nullopt;
}

}  // namespace mv
