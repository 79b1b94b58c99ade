#pragma once
// TPNGOpt, the option-and-preview dialog, as a model: its controls' state by mode, the read-outs, the
// preview, the colour panel with its pop-up and pick mode, the gamma validation and help. A desktop
// shows it modally and hands the widgets' events to the handlers below; a command reads the result.
//
// The preview is recomputed on demand: a change of a slider or radio group updates the read-out at
// once and marks the preview stale; UpdatePreview() recomputes it (a widget coalesces bursts of
// changes into one update; the macro runner updates at once).

#include <functional>
#include <optional>
#include <string>

#include "optiondialog/DialogChoices.h"
#include "optiondialog/OptionModes.h"
#include "platform/Bitmap.h"
#include "platform/Feedback.h"
#include "platform/Geometry.h"

namespace mv {

// What the dialog needs of the program around it.
struct OptionDialogServices {
  Feedback* feedback = nullptr;  // boxes, the message line and the cursor of the main window
  std::string programFolder;     // the kernel library for the filter previews
  std::function<void(const std::string& topic)> showHelpTopic;            // the help command with a topic
  std::function<std::optional<ColorRef>(ColorRef initial)> chooseColour;  // the colour dialog
};

struct SliderControl {
  bool visible = false;
  std::string caption;  // Label3 / Label10
  int minimum = 0;
  int maximum = 0;
  int position = 0;
  int tick = 1;
  std::string lowWord;   // Label6 / Label8
  std::string highWord;  // Label7 / Label9
  std::string readOut;   // Label4 / Label1
  ReadOut rule = ReadOut::Position;
};

struct RadioGroupControl {
  bool visible = false;
  std::string caption;
  std::vector<std::string> items;
  int index = 0;
  std::string hint;
};

struct ColourPanelControl {
  bool visible = false;
  std::string label;               // Label5
  std::string caption;             // "無し" reads as no colour
  std::optional<ColorRef> colour;  // none: the button face
};

class TPNGOpt {
 public:
  static constexpr const char* kNone = "無し";
  static constexpr const char* kChosen = "指定";
  static constexpr Size kImage1Size{210, 210};

  // FormCreate: f 1.0 and the preview point (-1, -1) until the dialog call sets them.
  TPNGOpt(int mode, Bitmap thumbnail, OptionDialogServices services);

  void SetScaleAndPoint(double f, Point previewPoint);

  // FormShow: the controls by mode, the read-outs and the first preview.
  void FormShow();

  // The widgets' events.
  void TrackBar1Change(int position);
  void TrackBar2Change(int position);
  void RadioGroup1Click(int index);
  void RadioGroup2Click(int index);
  // A click on the colour panel: true when the widget is to open the pop-up menu (N1, N2) at the
  // mouse; in mode 7 the colour dialog chooses the base colour instead.
  bool Panel1Click();
  void N1Click();
  void N2Click();
  // The mouse over and on Image1, in its coordinates; `displaySize` is Image1's size.
  void Image1MouseMove(Point position, Size displaySize = kImage1Size);
  void Image1MouseDown(Point position, Size displaySize = kImage1Size);
  void SetGammaText(std::string text) { Edit3Text = std::move(text); }
  void SetWriteTime(bool checked) { CheckBox2Checked = checked; }
  void SetPanelColour(std::optional<ColorRef> colour);  // a scripted answer: none reads "無し"
  // OK: validates the gamma entry where it is shown (Tag -1 when invalid, after a box); the dialog
  // closes with OK in every case.
  void BitBtn1Click();
  void BitBtn3Click();  // help with the mode's topic

  // The preview.
  bool PreviewStale() const { return previewStale_; }
  void UpdatePreview();
  const Bitmap& Image1() const { return preview_; }
  const Bitmap& Thumbnail() const { return thumbnail_; }
  // After a click on the thumbnail it is shown with this colour transparent.
  std::optional<ColorRef> TransparentColour() const { return transparent_; }
  bool PickMode() const { return pickMode_; }

  // The state a widget shows and a command reads.
  int Mode() const { return mode_; }
  int Tag() const { return tag_; }
  const std::string& Caption() const { return caption_; }
  Size ClientSize() const { return {398, mode_ == 11 ? 350 : 288}; }
  double F() const { return f_; }
  Point PreviewPoint() const { return previewPoint_; }
  std::string HelpTopic() const { return TransHelpTopic(mode_); }
  DialogChoices Choices() const;
  OptionResult Result() const;  // accepted, with the controls' values

  SliderControl TrackBar1;
  SliderControl TrackBar2;
  RadioGroupControl RadioGroup1;
  RadioGroupControl RadioGroup2;
  ColourPanelControl Panel1;
  bool Edit3Visible = false;
  std::string Edit3Text;
  std::string Edit3Hint = "変更しないときは0を入力";
  std::string Label2 = "ガンマ値";
  bool CheckBox2Visible = false;
  bool CheckBox2Checked = true;
  std::string CheckBox2Caption = "ファイルに現時刻を書き込む";

 private:
  void SliderChanged(SliderControl& slider, int position);
  void ShowColourAt(Point position, Size displaySize);

  int mode_;
  int tag_;
  std::string caption_ = "PNG形式の保存オプション";
  Bitmap thumbnail_;
  Bitmap preview_;
  OptionDialogServices services_;
  double f_ = 1.0;
  Point previewPoint_{-1, -1};
  bool previewStale_ = false;
  bool pickMode_ = false;
  std::optional<ColorRef> transparent_;
};

// The thumbnail pixel under a point of a display that shows a picture centred and scaled by
// g = min(display / picture) on both axes; the margin m = trunc(display / 2 - g * picture / 2) on the
// axis that has one; a point left of or above the picture counts as its first column or row.
Point DisplayToThumbnail(Point position, Size displaySize, Size pictureSize);

// The gamma entry's text as a number: a decimal number with a point (whatever the locale), blanks
// around it allowed; none for any other text, and for "nan", "inf" and numbers too large for a double.
std::optional<double> ParseGammaText(const std::string& text);

// Mode 8's first threshold: the mean of every channel value of the thumbnail, truncated; 128 when
// there is none.
int AutomaticThreshold(const Bitmap& thumbnail);

}  // namespace mv
