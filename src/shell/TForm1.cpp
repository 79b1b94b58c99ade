// Construction, start and stop of the main window, the confirm-discard check and the menu-opening
// handlers of the File, Edit, View and Other menus.

#include "shell/TForm1.h"

#include <sys/stat.h>

#include "platform/ScopeGuard.h"
#include "platform/UserName.h"

namespace mv {

namespace {

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

TForm1::TForm1(Desktop& desktop, std::string programFolder, SubsystemList subsystems)
    : desktop(desktop),
      programFolder(std::move(programFolder)),
      feedback_(*this),
      subsystemFactories_(std::move(subsystems)) {}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  const std::string user = CurrentUserName();
  settings.SettingsPath = ProgramFile(user.empty() ? "mirvane.ini" : user + ".ini");
  selection = SelectionState{};
  view.WheelStep = 100;
  view.ZoomFactor = 1.0L;
  VersionText = "1.0.0.0";
  controls.caption = "mirvane  -- Version " + VersionText;

  measurements = Measurements{};
  logs.MeasureLog.clear();
  logs.AreaLog.clear();

  // The core's own commands, then the subsystems, each adding its menu items, buttons and handlers.
  RegisterMenuLayout();
  RegisterFileCommands();
  RegisterViewCommands();
  RegisterBrowsingCommands();
  RegisterOtherCommands();
  RegisterHistoryCommands();
  subsystems_.clear();
  for (const SubsystemFactory& make : subsystemFactories_) subsystems_.push_back(make(*this));

  browse.FolderList.clear();
  ClearUndo();
  menus.Get("Up1").visible = false;
  menus.Get("Down1").visible = false;
  selection.SelectionDragging = false;
  selection.SelectionActive = false;
  menus.SetEnabled("N52", false);
  if (MenuItem* colourPencil = menus.Find("W2")) colourPencil->visible = false;
  image.Clear();
  image.SetModified(false);
  image.LoadedFormat = kFormatNone;
  SetTimerEnabled(true);
}

void TForm1::FormShow(const std::vector<std::string>& arguments) {
  // A fault in the settings file is reported, but must not keep the user's file from opening.
  try {
    ReadSettings(false);
  } catch (const std::exception&) {
    ReportCurrentException();
  }
  if (!arguments.empty()) LoadImageFile(arguments.front(), true);
}

void TForm1::Timer1Timer() {
  if (Timer1Tag != 1 && Timer1Tag != 2) {
    SetTimerEnabled(false);
    desktop.RestoreApplication();
    StepZoom(0);
    return;
  }
  if (performCapture) performCapture();
}

void TForm1::SetTimerEnabled(bool enabled) {
  Timer1Enabled = enabled;
  desktop.SetTimerEnabled(enabled);
}

bool TForm1::FormClose() {
  if (!ConfirmDiscard()) return false;
  // A settings file that cannot be written is reported; the window closes all the same, so the
  // user is never held in a program that cannot be left.
  try {
    WriteSettings();
  } catch (const std::exception&) {
    ReportCurrentException();
  }
  browse.FolderList.clear();
  ClearUndo();
  return true;
}

void TForm1::Close() {
  if (closed_ || !FormClose()) return;
  closed_ = true;
  SetTimerEnabled(false);
  desktop.CloseWindow();
}

bool TForm1::ConfirmDiscard() {
  if (!image.Exists()) return true;
  std::string question;
  if (image.Modified() && history.UndoPosition > 0) {
    question = "\r\n画像が変更されています。保存しますか？";
  } else if (controls.sb1Hint.empty()) {
    question = "\r\n画像を保存しますか？";
  } else {
    return true;
  }
  const BoxButton answer = desktop.ShowMessageBox(BoxKind::Confirmation, question, kYes | kNo | kCancel, 0);
  if (answer == kNo) return true;
  if (answer != kYes) return false;
  // The save command clears S1.Tag once the file is written; a cancelled or failed save leaves it,
  // and the image stays.
  bool saved = false;
  {
    S1Tag = 1;
    const ScopeExit request([this] { S1Tag = 0; });
    MenuItem* save = menus.Find("S1");
    if (save != nullptr && save->onClick) save->onClick();
    saved = S1Tag == 0;
  }
  return saved;
}

void TForm1::N1Click() {
  menus.SetEnabled("S1", image.Exists());
}

void TForm1::N3Click() {
  Close();
}

void TForm1::N4Click() {
  const bool hasImage = image.Exists();
  for (const char* name : {"N5", "D1", "N901", "N902", "N26", "N27", "N52", "A2"})
    menus.SetEnabled(name, hasImage);
  if (history.UndoCache.empty()) {
    menus.SetEnabled("N46", false);
    menus.SetEnabled("N11", false);
  } else {
    menus.SetEnabled("N46", history.UndoPosition != 0);
    menus.SetEnabled("N11",
                     static_cast<int64_t>(history.UndoCache.size()) != int64_t{history.UndoPosition} + 1);
  }
}

void TForm1::N7Click() {
  const bool listed = !browse.FolderList.empty();
  menus.SetEnabled("N38", listed);
  menus.SetEnabled("N39", listed);
}

void TForm1::O1Click() {
  menus.SetVisible("sm", FileExists(ProgramFile("mvtheory.hlp")));
}

}  // namespace mv
