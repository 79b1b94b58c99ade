#include "optiondialog/TRGBRes.h"

#include <algorithm>

#include "colour/ApplyColorFunction.h"
#include "colour/ColorFunctions.h"
#include "colour/Resample.h"

namespace mv {

namespace {

constexpr int kThumbnailBox = 148;

}  // namespace

Bitmap RenderChannelView(const Bitmap& source, int view, const std::array<int32_t, 3>& offsets,
                         Feedback& feedback) {
  std::array<int32_t, 3> params{-255, -255, -255};
  if (view >= 0 && view <= 2) {
    params[static_cast<std::size_t>(view)] = offsets[static_cast<std::size_t>(view)];
  } else {
    params = offsets;
  }
  Bitmap result = source;
  if (!result.IsEmpty()) ApplyColorFunction(result, TRGBEachOffset(), "", false, 0, params, 1.0, feedback);
  return result;
}

TRGBRes::TRGBRes(Bitmap thumbnail, Feedback& feedback, std::function<void(const std::string&)> showHelpTopic)
    : thumbnail_(std::move(thumbnail)), feedback_(feedback), showHelpTopic_(std::move(showHelpTopic)) {}

void TRGBRes::FormShow() {
  if (thumbnail_.IsEmpty()) return;
  for (int c = 0; c < 3; ++c)
    readOuts_[static_cast<std::size_t>(c)] = std::to_string(offsets_[static_cast<std::size_t>(c)]);
  images_[0] = thumbnail_;
  for (int view = 0; view < 3; ++view) {
    images_[static_cast<std::size_t>(view) + 1] = RenderChannelView(thumbnail_, view, offsets_, feedback_);
  }
}

void TRGBRes::ChannelChanged(int channel, int position) {
  const auto c = static_cast<std::size_t>(channel);
  offsets_[c] = std::clamp(position, kMinimum, kMaximum);
  readOuts_[c] = std::to_string(offsets_[c]);
  if (thumbnail_.IsEmpty()) return;
  images_[c + 1] = RenderChannelView(thumbnail_, channel, offsets_, feedback_);
  images_[0] = RenderChannelView(thumbnail_, -1, offsets_, feedback_);
}

void TRGBRes::TrackBar1Change(int position) {
  ChannelChanged(0, position);
}

void TRGBRes::TrackBar2Change(int position) {
  ChannelChanged(1, position);
}

void TRGBRes::TrackBar3Change(int position) {
  ChannelChanged(2, position);
}

void TRGBRes::BitBtn3Click() {
  if (showHelpTopic_) showHelpTopic_(kHelpTopic);
}

std::optional<std::array<int32_t, 3>> RunRgbDialog(const Bitmap& copy, Feedback& feedback,
                                                   std::function<void(const std::string&)> showHelpTopic,
                                                   const std::function<bool(TRGBRes&)>& show) {
  std::optional<Bitmap> thumbnail = MakeThumbnail(copy, kThumbnailBox, feedback);
  TRGBRes dialog(thumbnail ? std::move(*thumbnail) : Bitmap(), feedback, std::move(showHelpTopic));
  dialog.FormShow();
  if (!show(dialog)) return std::nullopt;
  return dialog.Offsets();
}

}  // namespace mv
