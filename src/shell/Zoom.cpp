// The zoom presets, the custom ratio, the fit to the window and the zoom step.

#include <algorithm>
#include <array>
#include <cmath>

#include "optionlib/OptionLibrary.h"
#include "platform/ProgramFolder.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

// The zoom step order; the custom ratio N14 is not in it.
constexpr std::array<const char*, 7> kStepOrder = {"N251", "N501", "N751", "N18", "N2001", "N4001", "N8"};
// Every entry of the radio group, in menu order.
constexpr std::array<const char*, 8> kZoomEntries = {"N4001", "N2001", "N18", "N751",
                                                     "N501",  "N251",  "N8",  "N14"};

std::string OptionLibraryErrorText() {
  return std::string("\r\n") + kOptionLibraryFile +
         "中でエラーが発生しました\r\n\r\nお手数ですが、作者にバグの報告をしてください";
}

}  // namespace

void TForm1::RegisterViewCommands() {
  struct Preset {
    const char* name;
    const char* caption;
    void (TForm1::*handler)();
  };
  const std::array<Preset, 8> presets = {{{"N4001", "400 %", &TForm1::N4001Click},
                                          {"N2001", "200 %", &TForm1::N2001Click},
                                          {"N18", "100 %", &TForm1::N18Click},
                                          {"N751", "75 %", &TForm1::N751Click},
                                          {"N501", "50 %", &TForm1::N501Click},
                                          {"N251", "25 %", &TForm1::N251Click},
                                          {"N8", "ウィンドウサイズ", &TForm1::N8Click},
                                          {"N14", "倍率指定", &TForm1::N14Click}}};
  menus.Add("N17", MakeMenuItem(
                       "Up1", "倍率Up", [this] { Up1Click(); }, "Up"));
  for (const Preset& preset : presets) {
    MenuItem& entry = menus.Add(
        "N17", MakeMenuItem(preset.name, preset.caption, [this, h = preset.handler] { (this->*h)(); }));
    entry.radioGroup = 1;
  }
  menus.Get("N18").checked = true;
  menus.Add("N17", MakeMenuItem(
                       "Down1", "倍率Down", [this] { Down1Click(); }, "Down"));

  menus.Add("N7", MakeMenuItem("N24", "サイドバーを表示(&T)", [this] { N24Click(); })).checked = true;
  menus.Add("N7", MakeMenuItem("N36", "ボトムバーを表示(&E)", [this] { N36Click(); })).checked = true;
  menus.Add("N7", MakeMenuItem("O2", "オプション(&O)", [this] { O2Click(); }));
  controls.SetButtonHandler("BitBtn3", [this] { BitBtn3Click(); });
  controls.SetButtonHandler("BitBtn4", [this] { BitBtn4Click(); });
}

void TForm1::ApplyZoom(const std::string& entry) {
  view.autoScroll = true;
  menus.SetChecked(menus.Get(entry), true);
  if (image.Exists()) {
    const Size size{RoundToInt32(image.Width() * view.ZoomFactor),
                    RoundToInt32(image.Height() * view.ZoomFactor)};
    SetIm1Size(size);
  }
  if (image.Width() > 0) SetMessage("表示倍率： " + FormatG(view.ZoomFactor, 3) + " 倍");
}

void TForm1::FitToWindow() {
  view.autoScroll = false;
  Size size = ImageAreaSize();
  const int pictureWidth = image.Width(), pictureHeight = image.Height();
  if (int64_t{pictureWidth} * pictureHeight == 0) {
    SetIm1Size(size);
    return;
  }
  const Extended rx = static_cast<Extended>(size.width) / pictureWidth;
  const Extended ry = static_cast<Extended>(size.height) / pictureHeight;
  if (rx >= ry) {
    size.width = RoundToInt32(pictureWidth * ry);
  } else {
    size.height = RoundToInt32(pictureHeight * rx);
  }
  // A side rounded to nothing would make the zoom factor 0 and every later conversion divide by it.
  size.width = std::max(size.width, 1);
  size.height = std::max(size.height, 1);
  SetIm1Size(size);
  view.ZoomFactor = static_cast<Extended>(size.width) / pictureWidth;
  SetMessage("表示倍率： " + FormatG(view.ZoomFactor, 3) + " 倍");
}

void TForm1::N4001Click() {
  view.ZoomFactor = 4.0L;
  ApplyZoom("N4001");
}

void TForm1::N2001Click() {
  view.ZoomFactor = 2.0L;
  ApplyZoom("N2001");
}

void TForm1::N18Click() {
  view.ZoomFactor = 1.0L;
  ApplyZoom("N18");
}

void TForm1::N751Click() {
  view.ZoomFactor = 0.75L;
  ApplyZoom("N751");
}

void TForm1::N501Click() {
  view.ZoomFactor = 0.5L;
  ApplyZoom("N501");
}

void TForm1::N251Click() {
  view.ZoomFactor = 0.25L;
  ApplyZoom("N251");
}

void TForm1::N8Click() {
  menus.SetChecked(menus.Get("N8"), true);
  if (image.Exists()) FitToWindow();
}

void TForm1::N14Click() {
  WithOptionLibrary([&](OptionSession& library) {
    const double ratio = library.DirectZoomRatio(static_cast<double>(view.ZoomFactor));
    if (ratio > 0) {
      // A ratio whose view size does not fit is refused as a whole: the zoom and its mark stay as
      // they were, so the view and the measurements keep agreeing.
      const Extended previousZoom = view.ZoomFactor;
      const std::string previousEntry = CheckedZoomEntry();
      view.ZoomFactor = ratio;
      try {
        ApplyZoom("N14");
      } catch (const RangeError&) {
        view.ZoomFactor = previousZoom;
        if (previousEntry.empty())
          menus.Get("N14").checked = false;
        else
          menus.SetChecked(menus.Get(previousEntry), true);
        throw;
      }
    } else if (ratio == 0) {
      SetMessage("倍率の指定をキャンセルしました");
    } else {
      desktop.ShowMessageBox(BoxKind::Error, OptionLibraryErrorText(), kOK, 0);
    }
  });
}

void TForm1::StepZoom(int step) {
  int current = -1;
  for (int i = 0; i < static_cast<int>(kStepOrder.size()) && current < 0; ++i) {
    if (menus.IsChecked(kStepOrder[static_cast<std::size_t>(i)])) current = i;
  }
  if (current < 0) {
    menus.Click(step == +1 ? "N251" : "N8");
    return;
  }
  if (step == 0) {
    menus.Click(kStepOrder[static_cast<std::size_t>(current)]);
    return;
  }
  const int target = current + step;
  if (target >= 6)
    menus.Click("N251");
  else if (target < 0)
    menus.Click("N8");
  else
    menus.Click(kStepOrder[static_cast<std::size_t>(target)]);
}

void TForm1::BitBtn3Click() {
  N8Click();
}

void TForm1::BitBtn4Click() {
  N18Click();
}

std::string TForm1::CheckedZoomEntry() const {
  for (const char* entry : kZoomEntries) {
    if (menus.IsChecked(entry)) return entry;
  }
  return {};
}

}  // namespace mv
