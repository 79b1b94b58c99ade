#include "saving/SaveCommands.h"

#include "optionlib/OptionLibrary.h"
#include "platform/Numbers.h"
#include "saving/PngSaveOptions.h"
#include "shell/CursorScope.h"
#include "shell/OptionDialogs.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

constexpr const char* kSaveFilter =
    "JPGファイル (*.jpg)|*.jpg|ビットマップ (*.bmp)|*.bmp|GIFファイル (*.gif)|*.gif|PNGファイル "
    "(*.png)|*.png";
constexpr int kGifDialogMode = 0;

}  // namespace

SaveCommands::SaveCommands(TForm1& form) : form(form) {
  form.menus.Add("N1", MakeMenuItem(
                           "S1", "保存(&S)", [this] { S1Click(); }, "Ctrl+S"));
}

FileDialogRequest SaveCommands::SaveDialogRequest() const {
  FileDialogRequest request;
  request.kind = FileDialogKind::Save;
  request.filter = kSaveFilter;
  request.filterIndex = form.image.LoadedFormat;  // the filters are numbered as the formats; 0: default
  request.initialDir = form.controls.sb1Hint;
  request.defaultExt = "jpg";
  request.options = kOverwritePrompt | kHideReadOnly | kPathMustExist | kEnableSizing;
  request.picturePreview = true;
  return request;
}

void SaveCommands::S1Click() {
  if (!form.image.Exists()) return;
  const std::optional<FileDialogResult> chosen = form.desktop.ShowFileDialog(SaveDialogRequest());
  if (!chosen) return;
  const SaveTarget target = ChooseSaveTarget(chosen->path);
  // Every failure is reported here, so the confirm-discard check learns of it from S1Tag alone.
  try {
    const std::optional<EncodeOptions> options = AskEncodeOptions(target);
    if (!options) return;
    const HourglassScope hourglass(form.desktop);
    FindImageFormat(target.format)->encode(target.path, form.image.Picture(), *options);
  } catch (const std::exception&) {
    form.ReportCurrentException();
    return;
  }
  Saved(target.path);
}

std::optional<EncodeOptions> SaveCommands::AskEncodeOptions(const SaveTarget& target) {
  switch (target.format) {
    case kFormatJpeg:
      return AskJpegQuality();
    case kFormatGif:
      return AskGifTransparency();
    case kFormatPng: {
      std::optional<PngWriteOptions> png = AskPngSaveOptions(form, form.image.Picture());
      if (!png) return std::nullopt;
      EncodeOptions options;
      options.png = *png;
      return options;
    }
    default:
      return EncodeOptions{};  // BMP: the picture in its own pixel format
  }
}

std::optional<EncodeOptions> SaveCommands::AskJpegQuality() {
  int32_t quality = 0;
  // The library shows the file's size at each quality where it can (CompressDialogFor).
  const Bitmap& picture = form.image.Picture();
  if (!form.WithOptionLibrary(
          [&](OptionSession& library) { quality = library.CompressDialogFor(picture); })) {
    return std::nullopt;
  }
  if (quality == 0) {
    form.SetMessage("保存をキャンセルしました");
    return std::nullopt;
  }
  if (quality < 1 || quality > 100) throw RangeError();
  EncodeOptions options;
  options.jpegQuality = quality;
  return options;
}

std::optional<EncodeOptions> SaveCommands::AskGifTransparency() {
  const OptionResult result = AskOptions(form, form.image.Picture(), kGifDialogMode);
  if (!result.accepted) return std::nullopt;  // the dialog call has said so on the message line
  EncodeOptions options;
  if (result.colour != -1) options.gifTransparent = static_cast<ColorRef>(result.colour);
  return options;
}

void SaveCommands::Saved(const std::string& path) {
  form.SetMessage("画像を保存しました： " + path);
  form.ShowFileStatus(path);
  form.controls.sb1Hint = path;
  form.image.SetModified(false);
  form.S1Tag = 0;
}

}  // namespace mv
