#include "saving/PngSaveOptions.h"

#include "colour/Resample.h"
#include "optiondialog/TPNGOpt.h"
#include "shell/OptionDialogs.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

constexpr int kPngDialogMode = 1;
constexpr int kThumbnailBox = 188;

}  // namespace

std::optional<PngWriteOptions> AskPngSaveOptions(TForm1& form, const Bitmap& picture) {
  std::optional<Bitmap> thumbnail = MakeThumbnail(picture, kThumbnailBox, form.GetFeedback());
  if (!thumbnail) {
    form.SetMessage("縮小画像の作成に失敗しました");
    return std::nullopt;
  }
  TPNGOpt dialog(kPngDialogMode, std::move(*thumbnail), OptionDialogServicesOf(form));
  dialog.FormShow();
  if (!form.desktop.ShowOptionDialog(dialog) || dialog.Tag() == -1) return std::nullopt;

  PngWriteOptions options;
  options.transparent = dialog.Choices().colour;
  options.compressionLevel = dialog.TrackBar1.position;
  // OK has checked the entry (Tag 0), so it reads as a number.
  options.gamma = ParseGammaText(dialog.Edit3Text).value_or(0.0);
  options.writeTime = dialog.CheckBox2Checked;
  options.filterSetting = 0;
  return options;
}

}  // namespace mv
