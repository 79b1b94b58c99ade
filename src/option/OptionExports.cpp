// The exports of option.so. Each shows its dialog modally over the program's active window and
// answers as optionlib/option_abi.h describes; nothing thrown inside leaves the library.

#include <string>

#include "option/DialogHost.h"
#include "option/LengthUnitDialog.h"
#include "option/PointSizeDialog.h"
#include "option/SettingsDialog.h"
#include "option/VersionDialog.h"
#include "option/ZoomRatioDialog.h"
#include "optionlib/option_abi.h"

extern "C" {

// Declared through the interface's function types, so a signature that drifts from it does not build.
MvShowSetting ShowSetting;
MvShowVersion ShowVersion;
MvDirectZoomRatio DirectZoomRatio;
MvGetLengthAndUnit GetLengthAndUnit;
MvGetPointAndSize GetPointAndSize;

void ShowSetting(const char* settingsPath) {
  if (settingsPath == nullptr) return;
  mv::Guarded(false, [&] { return mv::EditSettings(settingsPath); });
}

void ShowVersion(const char* versionText) {
  const std::string text = versionText != nullptr ? versionText : "";
  mv::Guarded(0, [&] {
    mv::ShowVersionBox(text);
    return 0;
  });
}

// > 0 the ratio entered, 0 cancelled, -1 when the dialog failed.
double DirectZoomRatio(double currentZoom) {
  return mv::Guarded(-1.0, [&] { return mv::AskZoomRatio(currentZoom); });
}

// The block's length is 0 when cancelled (or when the dialog failed).
void GetLengthAndUnit(MvLengthAndUnit* result, double length, int32_t unitIndex) {
  if (result == nullptr) return;
  *result = MvLengthAndUnit{0.0, unitIndex, 0};
  mv::Guarded(0, [&] {
    if (const auto entry = mv::AskLengthAndUnit(length, unitIndex))
      *result = {entry->length, entry->unitIndex, 0};
    return 0;
  });
}

// (-1, -1) cancelled, (-2, -2) arguments the form cannot take or a failure inside it.
void GetPointAndSize(const MvPoint* imageSize, int32_t mode, MvPoint* result) {
  if (result == nullptr) return;
  *result = MvPoint{-2, -2};
  if (imageSize == nullptr) return;
  const mv::PointOrSize size{imageSize->x, imageSize->y};
  if (!mv::PointSizeArgumentsValid(size, mode)) return;
  mv::Guarded(0, [&] {
    const auto entered = mv::AskPointOrSize(size, mode);
    *result = entered ? MvPoint{entered->x, entered->y} : MvPoint{-1, -1};
    return 0;
  });
}

}  // extern "C"
