#include "macro/ScriptedDesktop.h"

#include <cstdlib>

#include "macro/MacroExit.h"
#include "macro/MacroScript.h"
#include "optiondialog/TPNGOpt.h"
#include "optiondialog/TRGBRes.h"
#include "shell/FormControls.h"
#include "shell/TForm3.h"

namespace mv {

namespace {

const char* DialogTitle(const FileDialogRequest& request) {
  if (!request.title.empty()) return request.title.c_str();
  return request.kind == FileDialogKind::Open ? "開く" : "名前を付けて保存";
}

}  // namespace

const char* BoxKindWord(BoxKind kind) {
  switch (kind) {
    case BoxKind::Error:
      return "error";
    case BoxKind::Warning:
      return "warning";
    case BoxKind::Information:
      return "info";
    case BoxKind::Confirmation:
      return "confirm";
    case BoxKind::Plain:
      return "plain";
  }
  return "plain";
}

const char* BoxButtonWord(BoxButton button) {
  switch (button) {
    case kOK:
      return "OK";
    case kCancel:
      return "Cancel";
    case kYes:
      return "Yes";
    case kNo:
      return "No";
    case kHelp:
      return "Help";
  }
  return "";
}

ScriptedDesktop::ScriptedDesktop(std::ostream& out, std::string programFolder)
    : out_(out), optionLibrary_(answers_, out, std::move(programFolder)) {}

void ScriptedDesktop::Unanswered(const std::string& kind, const std::string& text) {
  out_ << "unanswered " << kind << ' ' << Quote(text) << '\n';
  out_.flush();
  throw MacroExit{kMacroUnanswered};
}

BoxButton ScriptedDesktop::ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons, int) {
  out_ << "box " << BoxKindWord(kind) << ' ' << Quote(text) << '\n';
  const auto answer = answers_.Take("box", [&](const Answer& a) {
    for (const BoxButton button : {kOK, kCancel, kYes, kNo}) {
      if ((buttons & button) != 0 && a.values.front() == BoxButtonWord(button)) return true;
    }
    return false;
  });
  if (answer) {
    for (const BoxButton button : {kOK, kCancel, kYes, kNo}) {
      if (answer->values.front() == BoxButtonWord(button)) return button;
    }
  }
  // A box with nothing to choose (plain, information, warning or error, OK alone) needs no answer.
  if (kind != BoxKind::Confirmation && buttons == kOK) return kOK;
  Unanswered(BoxKindWord(kind), text);
}

std::optional<FileDialogResult> ScriptedDesktop::ShowFileDialog(const FileDialogRequest& request) {
  lastFileDialog_ = request;
  std::optional<std::string> path;
  if (request.kind == FileDialogKind::Open) {
    path = std::move(nextOpen_);
    nextOpen_.reset();
  }
  if (!path) {
    const auto answer = answers_.Take("file");
    if (!answer) Unanswered("file", DialogTitle(request));
    if (answer->values.front() == "cancel") return std::nullopt;
    path = answer->values.front();
  }
  return FileDialogResult{*path, request.filterIndex};
}

namespace {

ColorRef HexColour(const std::string& rrggbb) {
  const unsigned long rgb = std::strtoul(rrggbb.c_str(), nullptr, 16);
  return MakeColor(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                   static_cast<uint8_t>(rgb));
}

int Integer(const std::string& token) {
  return static_cast<int>(*ParseMacroInteger(token));
}

// One NAME=VALUE field of `answer option` handed to the dialog as its control would.
void ApplyOptionField(TPNGOpt& model, const std::string& field) {
  const std::size_t equals = field.find('=');
  const std::string name = field.substr(0, equals), value = field.substr(equals + 1);
  if (name == "slider1") {
    model.TrackBar1Change(Integer(value));
  } else if (name == "slider2") {
    model.TrackBar2Change(Integer(value));
  } else if (name == "radio1") {
    model.RadioGroup1Click(Integer(value));
  } else if (name == "radio2") {
    model.RadioGroup2Click(Integer(value));
  } else if (name == "colour") {
    model.SetPanelColour(value == "none" ? std::nullopt : std::optional<ColorRef>(HexColour(value)));
  } else if (name == "gamma") {
    model.SetGammaText(value);
  } else if (name == "time") {
    model.SetWriteTime(value == "1");
  }
}

}  // namespace

bool ScriptedDesktop::ShowOptionDialog(TPNGOpt& model) {
  lastOption_ = ShownOptionDialog{model.Mode(), model.Caption(),
                                  Size{model.Thumbnail().Width(), model.Thumbnail().Height()}, model.F(),
                                  model.PreviewPoint()};
  const auto answer = answers_.Take("option");
  if (!answer) Unanswered("option", model.Caption());
  for (std::size_t i = 1; i < answer->values.size(); ++i) ApplyOptionField(model, answer->values[i]);
  model.UpdatePreview();
  if (answer->values.front() != "ok") return false;
  model.BitBtn1Click();
  return true;
}

bool ScriptedDesktop::ShowRgbDialog(TRGBRes& model) {
  const auto answer = answers_.Take("rgb");
  if (!answer) Unanswered("rgb", TRGBRes::kCaption);
  model.TrackBar1Change(Integer(answer->values[1]));
  model.TrackBar2Change(Integer(answer->values[2]));
  model.TrackBar3Change(Integer(answer->values[3]));
  return answer->values.front() == "ok";
}

std::optional<ColorRef> ScriptedDesktop::ShowColorDialog(ColorRef) {
  const auto answer = answers_.Take("colour");
  if (!answer) Unanswered("colour", "");
  if (answer->values.front() == "cancel") return std::nullopt;
  return HexColour(answer->values.front());
}

void ScriptedDesktop::ShowProgressDialog(TForm3& model) {
  lastProgress_ = ShownProgress{model.Caption(), model.Max(), model.Position()};
  shownProgress_ = &model;
  shownSteps_ = 0;
  shownCancelRow_.reset();
  if (cancelRow_ && --cancelDialog_ <= 0) {
    shownCancelRow_ = cancelRow_;
    cancelRow_.reset();
  }
  if (shownCancelRow_ == 0) model.BitBtn1Click();
}

void ScriptedDesktop::UpdateProgressDialog(TForm3& model) {
  if (&model != shownProgress_) return;
  lastProgress_ = ShownProgress{model.Caption(), model.Max(), model.Position()};
  ++shownSteps_;
  if (shownCancelRow_ && shownSteps_ >= *shownCancelRow_) model.BitBtn1Click();
}

void ScriptedDesktop::HideProgressDialog(TForm3& model) {
  if (&model != shownProgress_) return;
  shownProgress_ = nullptr;
  shownCancelRow_.reset();
}

Rect ScriptedDesktop::VirtualDesktopRect() {
  const Size size = ScreenSize();
  return {0, 0, size.width, size.height};
}

Size ScriptedDesktop::ScreenSize() {
  return screen_ ? Size{screen_->Width(), screen_->Height()} : kScreen;
}

Bitmap ScriptedDesktop::CaptureScreen(const Rect& area) {
  if (screen_) return screen_->CopyRegion(area.left, area.top, area.Width(), area.Height()).ToBgr24();
  // A fixed picture of the screen: a gradient, so a capture shows where it was taken from.
  Bitmap shot(std::max(0, area.Width()), std::max(0, area.Height()), PixelFormat::Bgr24);
  for (int y = 0; y < shot.Height(); ++y) {
    for (int x = 0; x < shot.Width(); ++x) {
      const int sx = area.left + x, sy = area.top + y;
      shot.SetColorAt(
          x, y, MakeColor(static_cast<uint8_t>(sx), static_cast<uint8_t>(sy), static_cast<uint8_t>(sx ^ sy)));
    }
  }
  return shot;
}

int ScriptedDesktop::WindowClientWidth() {
  return areaSize_.width + (controls_ == nullptr || controls_->pn2Visible ? kSideBarWidth : 0);
}

}  // namespace mv
