#include "colour/ApplyColorFunction.h"

#include <memory>

#include "colour/ColorRows.h"
#include "platform/Parallel.h"

namespace mv {

namespace {

// Below this many pixels starting threads costs more than it saves (previews of thumbnails).
constexpr int64_t kPixelsWorthThreads = 1 << 18;

bool ConvertUnderProgress(Bitmap& bitmap, const ColorRow& convert, const std::string& name,
                          Feedback& feedback) {
  const std::unique_ptr<ProgressDialog> dialog = feedback.CreateProgressDialog();
  dialog->Start(name + "の進捗状況", bitmap.Height());
  for (int y = 0; y < bitmap.Height(); ++y) {
    if (!dialog->IsVisible()) {
      feedback.SetMessage("キャンセルしました");
      return false;
    }
    convert(bitmap.Row(y), bitmap.Width(), y);
    dialog->StepIt();
    feedback.ProcessPendingEvents();
  }
  return true;
}

void ConvertAtOnce(Bitmap& bitmap, const ColorRow& convert) {
  const int64_t pixels = int64_t{bitmap.Width()} * bitmap.Height();
  const int threads = pixels >= kPixelsWorthThreads ? ParallelThreads() : 1;
  RunRowBands(bitmap.Height(), threads, [&](int begin, int end, std::size_t) {
    for (int y = begin; y < end; ++y) convert(bitmap.Row(y), bitmap.Width(), y);
  });
}

}  // namespace

bool ApplyColorFunction(Bitmap& bitmap, const TColorFunction& func, const std::string& name,
                        bool showProgress, int32_t mode, std::span<const int32_t> params, double value,
                        Feedback& feedback) {
  if (bitmap.Format() != PixelFormat::Bgr24) bitmap = bitmap.ToBgr24();
  const BusyCursor hourglass(feedback);
  const ColorRow convert = MakeColorRow(func, params, value, mode);
  if (showProgress) {
    if (!ConvertUnderProgress(bitmap, convert, name, feedback)) return false;
  } else {
    ConvertAtOnce(bitmap, convert);
  }
  if (!name.empty()) feedback.SetMessage(name + "が完了しました");
  return true;
}

}  // namespace mv
