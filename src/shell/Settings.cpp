// The settings file: the full reading at the first showing, the partial reading after the settings
// dialog, the keys written at close, and the settings command.

#include <array>
#include <limits>

#include "optionlib/OptionLibrary.h"
#include "platform/IniFile.h"
#include "shell/ColorNames.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

// "Menu" "Ratio" values 0 … 7.
constexpr std::array<const char*, 8> kRatioEntries = {"N4001", "N2001", "N18", "N751",
                                                      "N501",  "N251",  "N8",  "N14"};

int32_t Saturate(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace

void TForm1::ReadSettings(bool partialOnly) {
  const IniFile ini = IniFile::Load(settings.SettingsPath);
  if (!partialOnly) {
    const int32_t top = ini.ReadInteger("mirvane", "Top", 10);
    const int32_t left = ini.ReadInteger("mirvane", "Left", 10);
    const int32_t width = ini.ReadInteger("mirvane", "Width", 540);
    const int32_t height = ini.ReadInteger("mirvane", "Height", 350);
    desktop.SetWindowBounds({left, top, Saturate(int64_t{left} + width), Saturate(int64_t{top} + height)});
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
  IniFile ini = IniFile::Load(settings.SettingsPath);
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
