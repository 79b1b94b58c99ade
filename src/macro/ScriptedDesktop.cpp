#include "macro/ScriptedDesktop.h"

#include <cstdlib>

#include "macro/MacroExit.h"
#include "macro/MacroScript.h"
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
  if ((kind == BoxKind::Error || kind == BoxKind::Information) && buttons == kOK) return kOK;
  Unanswered(BoxKindWord(kind), text);
}

std::optional<FileDialogResult> ScriptedDesktop::ShowFileDialog(const FileDialogRequest& request) {
  std::optional<std::string> path = std::move(nextFile_);
  nextFile_.reset();
  if (!path) {
    const auto answer = answers_.Take("file");
    if (!answer) Unanswered("file", DialogTitle(request));
    if (answer->values.front() == "cancel") return std::nullopt;
    path = answer->values.front();
  }
  return FileDialogResult{*path, request.filterIndex};
}

std::optional<ColorRef> ScriptedDesktop::ShowColorDialog(ColorRef) {
  const auto answer = answers_.Take("colour");
  if (!answer) Unanswered("colour", "");
  if (answer->values.front() == "cancel") return std::nullopt;
  const unsigned long rgb = std::strtoul(answer->values.front().c_str(), nullptr, 16);
  return MakeColor(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                   static_cast<uint8_t>(rgb));
}

void ScriptedDesktop::ShowProgressDialog(TForm3& model) {
  shownProgress_ = &model;
  shownCancelRow_ = cancelRow_;
  shownSteps_ = 0;
  cancelRow_.reset();
  if (shownCancelRow_ == 0) model.BitBtn1Click();
}

void ScriptedDesktop::UpdateProgressDialog(TForm3& model) {
  if (&model != shownProgress_) return;
  ++shownSteps_;
  if (shownCancelRow_ && shownSteps_ >= *shownCancelRow_) model.BitBtn1Click();
}

void ScriptedDesktop::HideProgressDialog(TForm3& model) {
  if (&model != shownProgress_) return;
  shownProgress_ = nullptr;
  shownCancelRow_.reset();
}

Bitmap ScriptedDesktop::CaptureScreen(const Rect& area) {
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
