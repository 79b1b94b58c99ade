// The settings file: the full reading at the first showing, the partial reading after the settings
// dialog, the keys written at close, and the settings command.

#include <algorithm>
#include <array>
#include <optional>

#include "optionlib/OptionLibrary.h"
#include "platform/IniFile.h"
#include "shell/ColorNames.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

// "Menu" "Ratio" values 0 … 7.
constexpr std::array<const char*, 8> kRatioEntries = {"N4001", "N2001", "N18", "N751",
                                                      "N501",  "N251",  "N8",  "N14"};

// Window positions and sizes are kept where screens are: a hand-edited Left=2147483647 would
// otherwise overflow the window's right edge and come back as a negative width at close.
constexpr int32_t kWindowCoordinateLimit = 32767;

int32_t WindowCoordinate(int32_t value) {
  return std::clamp(value, -kWindowCoordinateLimit - 1, kWindowCoordinateLimit);
}
int32_t WindowExtent(int32_t value) {
  return std::clamp(value, 0, kWindowCoordinateLimit);
}

std::string UnreadableSettingsText(const std::string& path) {
  return "\r\n設定ファイル：" + path +
         "を読み取ることができませんでした\r\n\r\n既定の設定で起動します。設定は保存されません";
}

}  // namespace

void TForm1::ReadSettings(bool partialOnly) {
  // A settings file that is there but cannot be read (no permission, not a file, far too large) is
  // reported once at start and left alone: the defaults apply and nothing is written at close.
  const std::optional<IniFile> read = IniFile::Read(settings.SettingsPath);
  if (!read && !partialOnly) {
    settings.SettingsUnreadable = true;
    desktop.ShowMessageBox(BoxKind::Warning, UnreadableSettingsText(settings.SettingsPath), kOK, 0);
  }
  const IniFile ini = read.value_or(IniFile());
  if (!partialOnly) {
    const int32_t top = WindowCoordinate(ini.ReadInteger("mirvane", "Top", 10));
    const int32_t left = WindowCoordinate(ini.ReadInteger("mirvane", "Left", 10));
    const int32_t width = WindowExtent(ini.ReadInteger("mirvane", "Width", 540));
    const int32_t height = WindowExtent(ini.ReadInteger("mirvane", "Height", 350));
    desktop.SetWindowBounds({left, top, left + width, top + height});
    FormResize();
    if (ini.ReadBool("mirvane", "Maximized", false)) desktop.SetMaximized(true);
    if (ini.ReadBool("Mode", "GraphicViewer", true)) menus.Click("N33");
    view.ZoomFactor = ini.ReadFloat("Zoom", "Ratio", 1.0);
    const int32_t ratio = ini.ReadInteger("Menu", "Ratio", 2);
    if (ratio >= 0 && ratio <= 6) {
      menus.SetChecked(menus.Get(kRatioEntries[static_cast<std::size_t>(ratio)]), true);
    } else if (ratio == 7) {
      ApplyZoom("N14");
    } else {
      menus.SetChecked(menus.Get("N18"), true);
    }
    // A colour the program cannot read (a hand-edited file) gives the default colour.
    const ColorRef pen = TextToColor(ini.ReadString("Pen", "Color", "clBlue")).value_or(colors::kBlue);
    controls.label2Color = pen;
    area.pb1Canvas().SetPenColor(pen);
    if (!ini.ReadBool("Hide", "Message Bar", true)) menus.Click("N36");
    if (!ini.ReadBool("Hide", "Tool Bar", true)) menus.Click("N24");
    if (ini.ReadBool("Application", "Picture Viewer Mode", true)) menus.SetChecked(menus.Get("N33"), false);
  }
  // The scroll bars accept steps of 1 … 32767; anything else is the range error that ends the reading.
  const int32_t scrollStep = ini.ReadInteger("Scroll", "Normal", 8);
  if (scrollStep < 1 || scrollStep > 32767) throw RangeError();
  view.scrollStep = scrollStep;
  view.WheelStep = ini.ReadInteger("Scroll", "Ctrl", 40);
  settings.ToolMessages = ini.ReadBool("Show", "Tool Message", false);
  settings.ShowProgress = ini.ReadBool("Show", "Progress Bar", false);
  settings.NoCache = ini.ReadBool("Application", "No Cache", false);
  settings.LogLengthAndArea = ini.ReadBool("Log", "Length And Area", false);
  settings.LogTwoValueArea = ini.ReadBool("Log", "Two Value Area", false);
  const bool pasteSwapped = ini.ReadBool("Application", "Paste Short Cut", false);
  menus.SetShortcut("N6", pasteSwapped ? "Ctrl+V" : "Ctrl+B");
  menus.SetShortcut("N42", pasteSwapped ? "Ctrl+B" : "Ctrl+V");
}

bool TForm1::ReadNotDeleteForCopy() const {
  return IniFile::Load(settings.SettingsPath).ReadBool("Cache", "Not Delete For Copy", true);
}

void TForm1::WriteSettings() {
  if (settings.SettingsUnreadable) return;
  // Only the window's keys are written; the rest of the file must be read first, or it is lost.
  std::optional<IniFile> read = IniFile::Read(settings.SettingsPath);
  if (!read)
    throw IniWriteError(settings.SettingsPath, "the file cannot be read; the settings were not saved");
  IniFile& ini = *read;
  int ratio = 0;
  while (ratio < 8 && !menus.IsChecked(kRatioEntries[static_cast<std::size_t>(ratio)])) ++ratio;
  if (desktop.IsMaximized()) {
    ini.WriteBool("mirvane", "Maximized", true);
  } else {
    const Rect bounds = desktop.WindowBounds();
    ini.WriteInteger("mirvane", "Top", bounds.top);
    ini.WriteInteger("mirvane", "Left", bounds.left);
    ini.WriteInteger("mirvane", "Width", int64_t{bounds.right} - bounds.left);
    ini.WriteInteger("mirvane", "Height", int64_t{bounds.bottom} - bounds.top);
    ini.WriteBool("mirvane", "Maximized", false);
  }
  ini.WriteString("Pen", "Color", ColorToText(controls.label2Color));
  ini.WriteBool("Mode", "GraphicViewer", menus.IsChecked("N33"));
  ini.WriteInteger("Menu", "Ratio", ratio);
  ini.WriteBool("Hide", "Message Bar", menus.IsChecked("N36"));
  ini.WriteBool("Hide", "Tool Bar", menus.IsChecked("N24"));
  ini.WriteFloat("Zoom", "Ratio", static_cast<double>(view.ZoomFactor));
  ini.Save(settings.SettingsPath);
}

void TForm1::O2Click() {
  WithOptionLibrary([&](OptionSession& library) {
    library.ShowSetting(settings.SettingsPath);
    ReadSettings(true);
    StepZoom(0);
  });
}

}  // namespace mv
