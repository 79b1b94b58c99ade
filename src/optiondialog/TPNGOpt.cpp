#include "optiondialog/TPNGOpt.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>

#include "optiondialog/OptionPreview.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

// TrackBar1 and TrackBar2, RadioGroup1 and RadioGroup2 as the form defines them.
SliderControl DesignSlider1() {
  return SliderControl{false, "圧縮率", -1, 9, 9, 1, "", "", "", ReadOut::Position};
}
SliderControl DesignSlider2() {
  return SliderControl{false, "圧縮率", 0, 255, 20, 10, "", "", "", ReadOut::Position};
}
RadioGroupControl DesignRadio1() {
  // Its nine design-time items are replaced by every mode that shows the group.
  return RadioGroupControl{false, "フィルタの選択", {}, 3, ""};
}
RadioGroupControl DesignRadio2() {
  return RadioGroupControl{
      false, "ピクセルの評価方法", {"ΔX＋ΔY", "Max（ΔX、ΔY）", "ΔX、ΔYの2乗平均"}, 2, ""};
}

void SetUp(SliderControl& slider, const SliderSetup& setup) {
  slider = SliderControl{true,          setup.caption,  setup.minimum,
                         setup.maximum, setup.position, setup.tick,
                         setup.lowWord, setup.highWord, "",
                         setup.readOut};
}

void SetUp(RadioGroupControl& group, const RadioSetup& setup) {
  group = RadioGroupControl{true, setup.caption, setup.items, setup.index, setup.hint};
}

void ShowReadOut(SliderControl& slider) {
  slider.readOut = ReadOutText(slider.rule, slider.position);
}

}  // namespace

std::optional<double> ParseGammaText(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  std::size_t begin = 0, end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  if (begin < end && text[begin] == '+') ++begin;
  double value = 0;
  const auto [stop, error] = std::from_chars(text.data() + begin, text.data() + end, value);
  if (error != std::errc() || stop != text.data() + end || begin == end) return std::nullopt;
  // "nan", "inf" and numbers beyond a double's range are no gamma a file can hold.
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

TPNGOpt::TPNGOpt(int mode, Bitmap thumbnail, OptionDialogServices services)
    : TrackBar1(DesignSlider1()),
      TrackBar2(DesignSlider2()),
      RadioGroup1(DesignRadio1()),
      RadioGroup2(DesignRadio2()),
      Panel1{false, "透過色", kNone, std::nullopt},
      mode_(mode),
      tag_(mode),
      thumbnail_(std::move(thumbnail)),
      preview_(thumbnail_),
      services_(std::move(services)) {}

void TPNGOpt::SetScaleAndPoint(double f, Point previewPoint) {
  f_ = f;
  previewPoint_ = previewPoint;
}

void TPNGOpt::FormShow() {
  const ModeSetup* setup = FindModeSetup(mode_);
  if (setup == nullptr) return;
  caption_ = setup->title;
  if (setup->slider1) SetUp(TrackBar1, *setup->slider1);
  if (setup->slider2) SetUp(TrackBar2, *setup->slider2);
  if (setup->radio1) SetUp(RadioGroup1, *setup->radio1);
  if (setup->radio2) SetUp(RadioGroup2, *setup->radio2);
  if (setup->panel)
    Panel1 = ColourPanelControl{true, setup->panel->label, setup->panel->caption, setup->panel->colour};
  Edit3Visible = setup->gammaEntry;
  if (Edit3Visible) Edit3Text = std::string(1, '0');  // (not = "0": GCC 12 warns wrongly about that)
  CheckBox2Visible = setup->timeBox;
  if (mode_ == 8) TrackBar1.position = AutomaticThreshold(thumbnail_);
  ShowReadOut(TrackBar1);
  ShowReadOut(TrackBar2);
  previewStale_ = setup->preview != PreviewKind::None;
  UpdatePreview();
}

void TPNGOpt::SliderChanged(SliderControl& slider, int position) {
  slider.position = std::clamp(position, slider.minimum, slider.maximum);
  ShowReadOut(slider);
  previewStale_ = true;
}

void TPNGOpt::TrackBar1Change(int position) {
  SliderChanged(TrackBar1, position);
}

void TPNGOpt::TrackBar2Change(int position) {
  SliderChanged(TrackBar2, position);
}

void TPNGOpt::RadioGroup1Click(int index) {
  if (index >= 0 && index < static_cast<int>(RadioGroup1.items.size())) RadioGroup1.index = index;
  ShowReadOut(TrackBar1);
  ShowReadOut(TrackBar2);
  previewStale_ = true;
}

void TPNGOpt::RadioGroup2Click(int index) {
  if (index >= 0 && index < static_cast<int>(RadioGroup2.items.size())) RadioGroup2.index = index;
  ShowReadOut(TrackBar1);
  ShowReadOut(TrackBar2);
  previewStale_ = true;
}

void TPNGOpt::UpdatePreview() {
  if (!previewStale_) return;
  previewStale_ = false;
  const ModeSetup* setup = FindModeSetup(mode_);
  if (setup == nullptr || services_.feedback == nullptr) return;
  const PreviewInput input{thumbnail_, Choices(), f_, previewPoint_, services_.programFolder};
  try {
    if (std::optional<Bitmap> computed = ComputePreview(*setup, input, *services_.feedback)) {
      preview_ = std::move(*computed);
    }
  } catch (const std::exception&) {
    // A preview that cannot be computed leaves the last one shown; the command reports the error.
  }
}

bool TPNGOpt::Panel1Click() {
  if (mode_ != 7) return true;
  if (services_.chooseColour) {
    if (const std::optional<ColorRef> chosen = services_.chooseColour(Panel1.colour.value_or(0))) {
      Panel1.colour = *chosen;
      previewStale_ = true;
    }
  }
  return false;
}

void TPNGOpt::N1Click() {
  Panel1.colour.reset();
  Panel1.caption = kNone;
}

void TPNGOpt::N2Click() {
  Panel1.caption = kChosen;
  const BoxButton answer = services_.feedback->ShowMessageBox(
      BoxKind::Confirmation, "左のイメージで、透過色に指定する色をクリックしてください", kOK | kCancel);
  if (answer != kOK) N1Click();
  pickMode_ = true;
}

void TPNGOpt::SetPanelColour(std::optional<ColorRef> colour) {
  if (colour) {
    Panel1.colour = *colour;
    if (Panel1.caption == kNone) Panel1.caption = kChosen;
  } else {
    N1Click();
  }
  previewStale_ = previewStale_ || mode_ == 7;
}

void TPNGOpt::ShowColourAt(Point position, Size displaySize) {
  if (!pickMode_ || thumbnail_.IsEmpty()) return;
  const Point pixel = DisplayToThumbnail(position, displaySize, {thumbnail_.Width(), thumbnail_.Height()});
  const ColorRef colour = thumbnail_.ColorAt(std::clamp(pixel.x, 0, thumbnail_.Width() - 1),
                                             std::clamp(pixel.y, 0, thumbnail_.Height() - 1));
  Panel1.colour = colour;
}

void TPNGOpt::Image1MouseMove(Point position, Size displaySize) {
  ShowColourAt(position, displaySize);
}

void TPNGOpt::Image1MouseDown(Point position, Size displaySize) {
  ShowColourAt(position, displaySize);
  transparent_ = Panel1.colour;
  pickMode_ = false;
}

void TPNGOpt::BitBtn1Click() {
  tag_ = 0;
  if (!Edit3Visible) return;
  const std::optional<double> gamma = ParseGammaText(Edit3Text);
  if (gamma && *gamma >= 0) return;
  services_.feedback->ShowMessageBox(
      BoxKind::Warning,
      gamma ? "γ値は0より大きい値を入れてください\r\n指定しない場合は0を入れてください"
            : "γ値に数値を入れてください\r\n指定しない場合は0を入れてください",
      kOK);
  tag_ = -1;
}

void TPNGOpt::BitBtn3Click() {
  if (services_.showHelpTopic) services_.showHelpTopic(HelpTopic());
}

DialogChoices TPNGOpt::Choices() const {
  DialogChoices choices;
  choices.slider1 = TrackBar1.position;
  choices.slider2 = TrackBar2.position;
  choices.radio1 = RadioGroup1.index;
  choices.radio2 = RadioGroup2.index;
  if (Panel1.caption != kNone) choices.colour = Panel1.colour.value_or(0);
  return choices;
}

OptionResult TPNGOpt::Result() const {
  const DialogChoices choices = Choices();
  return OptionResult{true,
                      choices.colour ? static_cast<int32_t>(*choices.colour) : -1,
                      choices.radio1,
                      choices.radio2,
                      choices.slider1,
                      choices.slider2};
}

Point DisplayToThumbnail(Point position, Size displaySize, Size pictureSize) {
  const Extended g = std::min(static_cast<Extended>(displaySize.width) / pictureSize.width,
                              static_cast<Extended>(displaySize.height) / pictureSize.height);
  const auto axis = [g](int point, int display, int picture) {
    const auto margin = static_cast<int>(TruncTowardZero(display / 2.0L - g * picture / 2));
    const int offset = std::max(point - margin, 0);  // a point in the margin counts as the picture's edge
    return static_cast<int>(TruncTowardZero(offset / g));
  };
  return {axis(position.x, displaySize.width, pictureSize.width),
          axis(position.y, displaySize.height, pictureSize.height)};
}

int AutomaticThreshold(const Bitmap& thumbnail) {
  if (thumbnail.IsEmpty()) return 128;
  uint64_t sum = 0;
  for (int y = 0; y < thumbnail.Height(); ++y) {
    const uint8_t* row = thumbnail.Row(y);
    for (int i = 0; i < 3 * thumbnail.Width(); ++i) sum += row[i];
  }
  return static_cast<int>(sum /
                          (uint64_t{3} * static_cast<uint64_t>(thumbnail.Width()) * thumbnail.Height()));
}

}  // namespace mv
