#include "transparency/TransparencyCommands.h"

#include <cstring>
#include <optional>

#include "optionlib/OptionLibrary.h"
#include "platform/Numbers.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

constexpr const char* kHeldBackCommands[] = {"N2", "S1", "N4", "N211", "N46", "N43", "N17", "W1"};
constexpr const char* kCancelled = "透過モードはキャンセルされました";

}  // namespace

Bitmap TransparencyBackground(Size size, int32_t value) {
  if (value < 0 || value > 255) throw RangeError();
  Bitmap background(size.width, size.height, PixelFormat::Indexed8, PixelBuffer::Fill::Unspecified);
  std::vector<PaletteEntry> grey(256);
  for (int i = 0; i < 256; ++i) {
    const auto level = static_cast<uint8_t>(i);
    grey[static_cast<std::size_t>(i)] = PaletteEntry{level, level, level, 0};
  }
  background.SetPalette(std::move(grey));
  for (int y = 0; y < background.Height(); ++y)
    std::memset(background.Row(y), value, static_cast<std::size_t>(background.Width()));
  return background;
}

TransparencyCommands::TransparencyCommands(TForm1& form) : form(form) {
  form.menus.Add("O1", MakeMenuItem("A1", "透過モード(&T)", [this] { A1Click(); }));
  form.controls.SetButtonHandler("BitBtn8", [this] { BitBtn8Click(); });
}

void TransparencyCommands::BitBtn8Click() {
  form.menus.Click("A1");
}

void TransparencyCommands::A1Click() {
  MenuItem& mark = form.menus.Get("A1");
  mark.checked = !mark.checked;
  if (mark.checked) {
    Enter();
  } else {
    Leave();
  }
}

void TransparencyCommands::Enter() {
  Desktop& desktop = form.desktop;
  if (form.image.Exists() &&
      desktop.ShowMessageBox(BoxKind::Information, "画像を破棄し、透過モードに移行します\r\nよろしいですか？",
                             kOK | kCancel, 0) != kOK) {
    form.menus.Get("A1").checked = false;
    return;
  }
  const bool onTop =
      desktop.ShowMessageBox(BoxKind::Confirmation, "\r\nアプリケーションを常に最前面にしますか？",
                             kYes | kNo, 0) == kYes;
  desktop.SetAlwaysOnTop(onTop);
  form.browse.FolderList.clear();
  EnableHeldBackCommands(false);
  desktop.SetWindowOpacity(alphaBlendValue_);
  form.SetMessage("透過モード");

  // Without the library the mode stays on over the picture as it was.
  int32_t alpha = -1, value = -1;
  if (!form.WithOptionLibrary([&](OptionSession& library) {
        alpha = library.GetAlphaBlendVal();
        if (alpha >= 0) value = library.TransBackColor();
      })) {
    return;
  }
  if (alpha < 0 || value < 0) {
    form.menus.Click("A1");
    form.SetMessage(kCancelled);
    return;
  }
  if (alpha > 255) throw RangeError();
  Bitmap background = TransparencyBackground(desktop.ScreenSize(), value);
  alphaBlendValue_ = alpha;
  desktop.SetWindowOpacity(alphaBlendValue_);
  const Size size{background.Width(), background.Height()};
  form.image.Replace(std::move(background));
  form.SetIm1Size(size);
  // Where no compositing manager draws the window, its opacity shows no effect; said once.
  if (!desktop.ShowsWindowOpacity() && !opacityNoticeShown_) {
    opacityNoticeShown_ = true;
    form.SetMessage("透過モード（このデスクトップでは半透明になりません）");
  }
}

void TransparencyCommands::Leave() {
  form.desktop.SetAlwaysOnTop(false);
  EnableHeldBackCommands(true);
  form.desktop.SetWindowOpacity(std::nullopt);
  form.image.Clear();
  form.SetIm1Size({0, 0});
  form.measurements.Figures.clear();
  form.SetMessage("透過モード終了");
}

void TransparencyCommands::EnableHeldBackCommands(bool enabled) {
  for (const char* name : kHeldBackCommands) form.menus.SetEnabled(name, enabled);
}

}  // namespace mv
