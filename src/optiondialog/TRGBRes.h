#pragma once
// TRGBRes, the RGB decomposition dialog, as a model: a 148-box thumbnail shown four times (the
// combined result and the red, green and blue views, each computed with TRGBEachOffset through the
// colour driver) and three sliders with the red, green and blue offsets.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Feedback.h"
#include "platform/Geometry.h"

namespace mv {

class TRGBRes {
 public:
  static constexpr const char* kCaption = "RGB分解と調整";
  static constexpr Size kClientSize{510, 408};
  static constexpr int kMinimum = -255, kMaximum = 255, kTick = 16;
  static constexpr const char* kHelpTopic = "h204";

  // An empty thumbnail stands for none (the dialog then shows no pictures).
  TRGBRes(Bitmap thumbnail, Feedback& feedback,
          std::function<void(const std::string& topic)> showHelpTopic = {});

  // FormShow: the read-outs, the thumbnail in all four images and the three channel views.
  void FormShow();
  void TrackBar1Change(int position);  // red
  void TrackBar2Change(int position);  // green
  void TrackBar3Change(int position);  // blue
  void BitBtn3Click();                 // help "h204"

  int TrackBar1() const { return offsets_[0]; }
  int TrackBar2() const { return offsets_[1]; }
  int TrackBar3() const { return offsets_[2]; }
  // Label8 .. Label10: the offsets as decimal text.
  const std::string& ReadOut(int channel) const { return readOuts_[static_cast<std::size_t>(channel)]; }
  // Image1 combined, Image2 red, Image3 green, Image4 blue.
  const Bitmap& Image(int index) const { return images_[static_cast<std::size_t>(index - 1)]; }
  const Bitmap& Thumbnail() const { return thumbnail_; }
  std::array<int32_t, 3> Offsets() const { return offsets_; }

 private:
  void ChannelChanged(int channel, int position);

  Bitmap thumbnail_;
  Feedback& feedback_;
  std::function<void(const std::string&)> showHelpTopic_;
  std::array<int32_t, 3> offsets_{0, 0, 0};
  std::array<std::string, 3> readOuts_;
  std::array<Bitmap, 4> images_;
};

// The preview helper: `source` run through TRGBEachOffset with every channel at -255 but the one of
// `view` (0 red, 1 green, 2 blue) at its offset, or with all three offsets for any other view.
Bitmap RenderChannelView(const Bitmap& source, int view, const std::array<int32_t, 3>& offsets,
                         Feedback& feedback);

// The dialog on a 148-box thumbnail of `copy`: the three offsets when it closed with OK.
std::optional<std::array<int32_t, 3>> RunRgbDialog(const Bitmap& copy, Feedback& feedback,
                                                   std::function<void(const std::string&)> showHelpTopic,
                                                   const std::function<bool(TRGBRes&)>& show);

}  // namespace mv
