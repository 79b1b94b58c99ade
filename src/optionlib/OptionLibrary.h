#pragma once
// The program's side of option.so: typed calls of its twelve exports.
//
// A command loads the library (OptionLibrary::Load), makes its calls on the returned session and lets
// the session go, which unloads the library, on every path. The desktop hands out the loader: the
// window program gets the one over the real library, the macro runner a scripted one.

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

namespace mv {

// The library cannot be loaded, or it lacks the export a command calls. Commands report both with
// the same box (OptionLibraryMissingText) and end without further effect.
class OptionLibraryMissing : public std::runtime_error {
 public:
  explicit OptionLibraryMissing(const std::string& why) : std::runtime_error(why) {}
};

// The box text for a missing library or export, naming the library by its platform file name.
std::string OptionLibraryMissingText();

struct LengthAndUnit {
  double length = 0;  // 0 = cancelled
  int32_t unitIndex = 0;
};

struct HistogramRecord {
  int32_t low = 0;
  int32_t high = 0;
  int32_t channel = 0;  // or the status: -2 error, -1 cancelled
  int32_t fourth = 0;   // the operation (HiLow) or the fill colour (Range)
  bool operator==(const HistogramRecord&) const = default;
};

// The custom 3 x 3 filter as the dialog returns it; the defaults are the values passed in.
struct CustomFilterRecord {
  bool accepted = false;
  std::array<int32_t, 9> weights{};
  double divisor = 1.0;
  int32_t offset = 0;
  uint32_t copyMode = 0x42;  // blackness until the dialog chooses
  int32_t preparation = 0;
};

// One loaded library. Each call throws OptionLibraryMissing when the library lacks its export.
class OptionSession {
 public:
  virtual ~OptionSession() = default;
  virtual int32_t CompressDialog() = 0;
  // The JPEG quality dialog for saving `image`: the library's image-aware form where it has one
  // (it shows the file's size), else the plain CompressDialog; both answer as CompressDialog.
  virtual int32_t CompressDialogFor(const Bitmap& image) {
    (void)image;
    return CompressDialog();
  }
  virtual LengthAndUnit GetLengthAndUnit(double length, int32_t unitIndex) = 0;
  virtual void ShowVersion(const std::string& versionText) = 0;
  virtual void ShowSetting(const std::string& settingsPath) = 0;
  virtual int32_t GetAlphaBlendVal() = 0;
  virtual int32_t TransBackColor() = 0;
  virtual double DirectZoomRatio(double currentZoom) = 0;
  virtual Point GetPointAndSize(Point imageSize, int32_t mode) = 0;
  virtual void ShowCustomFilter(CustomFilterRecord& record) = 0;
  virtual void ShowHistgram(const Bitmap& image) = 0;
  virtual HistogramRecord GetHistgramHiLow(const Bitmap& image) = 0;
  virtual HistogramRecord GetHistgramRange(const Bitmap& image) = 0;
};

class OptionLibrary {
 public:
  virtual ~OptionLibrary() = default;
  // Loads the library for one command. Throws OptionLibraryMissing when it cannot be loaded.
  virtual std::unique_ptr<OptionSession> Load() = 0;
};

}  // namespace mv
