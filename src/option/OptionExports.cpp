// The exports of option.so. Each shows its dialog modally over the program's active window and
// answers as optionlib/option_abi.h describes; nothing thrown inside leaves the library, and no
// image handed in is referred to after the call.

#include <algorithm>
#include <memory>
#include <string>

#include "option/BackgroundGreyDialog.h"
#include "option/ChannelHistogram.h"
#include "option/CustomFilterDialog.h"
#include "option/DialogHost.h"
#include "option/HistogramDialog.h"
#include "option/ImageViewCheck.h"
#include "option/JpegQualityDialog.h"
#include "option/JpegSizeEstimate.h"
#include "option/LengthUnitDialog.h"
#include "option/LibraryFolder.h"
#include "option/OpacityDialog.h"
#include "option/PointSizeDialog.h"
#include "option/SettingsDialog.h"
#include "option/VersionDialog.h"
#include "option/ZoomRatioDialog.h"
#include "optionlib/option_abi.h"

namespace {

constexpr int32_t kHistogramCancelled = -1;
constexpr int32_t kHistogramFailed = -2;

// The record of a range dialog: its choice, or the status in element 2.
void AnswerHistogram(MvHistogramRecord* record, const MvImageView* image, mv::HistogramDialogKind kind) {
  if (record == nullptr) return;
  *record = MvHistogramRecord{0, 0, kHistogramFailed, 0};
  if (!mv::IsReadableView(image)) return;
  mv::Guarded(0, [&] {
    const mv::ChannelHistograms histograms = mv::CountChannels(*image);
    const auto choice = mv::AskHistogram(kind, histograms);
    *record = choice ? MvHistogramRecord{choice->low, choice->high, choice->selector, choice->fourth}
                     : MvHistogramRecord{0, 0, kHistogramCancelled, 0};
    return 0;
  });
}

// The weights the program offers are all zero until a filter has been chosen: the dialog then
// starts from the identity kernel drawn by source copy.
mv::CustomFilterSettings Offered(const TMaskArrayEx& record) {
  mv::CustomFilterSettings offered;
  if (std::all_of(record.weights, record.weights + 9, [](int32_t w) { return w == 0; })) return offered;
  std::copy(record.weights, record.weights + 9, offered.weights.begin());
  offered.divisor = record.divisor;
  offered.offset = record.offset;
  offered.copyMode = record.copyMode;
  offered.preparation = record.preparation;
  return offered;
}

}  // namespace

extern "C" {

// Declared through the interface's function types, so a signature that drifts from it does not build.
MvShowSetting ShowSetting;
MvShowVersion ShowVersion;
MvDirectZoomRatio DirectZoomRatio;
MvGetLengthAndUnit GetLengthAndUnit;
MvGetPointAndSize GetPointAndSize;
MvCompressDialog CompressDialog;
MvCompressDialogFor CompressDialogFor;
MvGetAlphaBlendVal GetAlphaBlendVal;
MvTransBackColor TransBackColor;
MvShowCustomFilter ShowCustomFilter;
MvShowHistgram ShowHistgram;
MvGetHistgramHiLow GetHistgramHiLow;
MvGetHistgramRange GetHistgramRange;

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

// 1 ... 100, or 0 when cancelled. A failure inside is answered as a cancel: nothing is saved.
int32_t CompressDialog() {
  return mv::Guarded(0, [] { return mv::AskJpegQuality(nullptr); });
}

// As CompressDialog, with the file's size for `image` at the chosen quality. Without a readable
// image, or when no sample of it can be made, the dialog shows no size.
int32_t CompressDialogFor(const MvImageView* image) {
  return mv::Guarded(0, [&] {
    std::unique_ptr<mv::JpegSizeEstimate> estimate;
    if (mv::IsReadableView(image)) {
      try {
        estimate = std::make_unique<mv::JpegSizeEstimate>(*image);
      } catch (const std::exception&) {
        estimate.reset();
      }
    }
    return mv::AskJpegQuality(estimate.get());
  });
}

// 0 ... 255, or -1 when cancelled or failed.
int32_t GetAlphaBlendVal() {
  return mv::Guarded(-1, [] { return mv::AskWindowOpacity(); });
}

// 0 ... 255, or -1 when cancelled or failed.
int32_t TransBackColor() {
  return mv::Guarded(-1, [] { return mv::AskBackgroundGrey(); });
}

// The record is filled in and its first byte set when the user confirms; otherwise it is left as
// it was given. A record whose weights array holds fewer than nine elements is left alone.
void ShowCustomFilter(TMaskArrayEx* record) {
  if (record == nullptr || record->weights == nullptr || record->weights[-1] < 9) return;
  mv::Guarded(0, [&] {
    const auto entry = mv::AskCustomFilter(Offered(*record), mv::LibraryFolder());
    if (!entry) return 0;
    std::copy(entry->settings.weights.begin(), entry->settings.weights.end(), record->weights);
    record->divisor = entry->settings.divisor;
    record->offset = entry->settings.offset;
    record->copyMode = entry->settings.copyMode;
    record->preparation = entry->settings.preparation;
    record->accepted = 1;
    return 0;
  });
}

void ShowHistgram(const MvImageView* image) {
  if (!mv::IsReadableView(image)) return;
  mv::Guarded(0, [&] {
    mv::AskHistogram(mv::HistogramDialogKind::View, mv::CountChannels(*image));
    return 0;
  });
}

void GetHistgramHiLow(MvHistogramRecord* record, const MvImageView* image) {
  AnswerHistogram(record, image, mv::HistogramDialogKind::Stretch);
}

void GetHistgramRange(MvHistogramRecord* record, const MvImageView* image) {
  AnswerHistogram(record, image, mv::HistogramDialogKind::Range);
}

}  // extern "C"
