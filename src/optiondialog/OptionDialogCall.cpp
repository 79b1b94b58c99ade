#include "optiondialog/OptionDialogCall.h"

#include <algorithm>

#include "colour/Resample.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

constexpr int kThumbnailBox = 188;

OptionResult NotAccepted() {
  OptionResult result;
  result.colour = 0;
  return result;
}

}  // namespace

double ThumbnailScale(Size thumbnail, Size picture) {
  return std::min(static_cast<double>(thumbnail.width) / picture.width,
                  static_cast<double>(thumbnail.height) / picture.height);
}

OptionResult RunOptionDialog(const OptionDialogCall& call, const Bitmap& bitmap, int mode, Point point) {
  Feedback& feedback = *call.services.feedback;
  std::optional<Bitmap> thumbnail = MakeThumbnail(bitmap, kThumbnailBox, feedback);
  if (!thumbnail) {
    if (call.messageLine() != "キャンセルしました") feedback.SetMessage("縮小画像の作成に失敗しました");
    return NotAccepted();
  }
  const double f =
      ThumbnailScale({thumbnail->Width(), thumbnail->Height()}, {bitmap.Width(), bitmap.Height()});
  const Point previewPoint{RoundToInt32(point.x * static_cast<Extended>(f)),
                           RoundToInt32(point.y * static_cast<Extended>(f))};
  TPNGOpt dialog(mode, std::move(*thumbnail), call.services);
  dialog.SetScaleAndPoint(f, previewPoint);
  dialog.FormShow();
  if (!call.show(dialog)) {
    feedback.SetMessage("キャンセルしました");
    return NotAccepted();
  }
  return dialog.Result();
}

}  // namespace mv
