// The Other menu's help, theory manual and version commands.

#include <sys/stat.h>

#include "optionlib/OptionLibrary.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

void TForm1::RegisterOtherCommands() {
  menus.Add("O1", MakeMenuItem("H1", "ヘルプ(&H)", [this] { H1Click(); }));
  menus.Add("O1", MakeMenuItem("sm", "Inside Mirvane(&M)", [this] { smClick(); })).visible = false;
  menus.Add("O1", MakeMenuItem("V1", "バージョン情報(&V)", [this] { V1Click(); }));
}

void TForm1::OpenHelpFile(const std::string& base, const std::string& missingText,
                          const std::string& missingContents, HelpRequest::Command command,
                          const std::string& topic) {
  const std::string helpFile = ProgramFile(base + ".hlp");
  if (!FileExists(helpFile)) {
    desktop.ShowMessageBox(BoxKind::Error, missingText, kOK, 0);
    return;
  }
  if (!FileExists(ProgramFile(base + ".cnt"))) {
    desktop.ShowMessageBox(BoxKind::Error, missingContents, kOK | kHelp, 14);
    return;
  }
  desktop.ShowHelp(HelpRequest{helpFile, command, topic});
}

void TForm1::H1Click() {
  OpenHelpFile("mirvane",
               "\r\nヘルプファイル”mirvane.hlp”が見つかりません\r\n\r\nMirvaneを再インストールしてください",
               "\r\nヘルプの目次ファイル”mirvane.cnt”が見つかりません", HelpRequest::Command::Finder, {});
}

void TForm1::ShowHelpTopic(const std::string& topic) {
  OpenHelpFile("mirvane",
               "\r\nヘルプファイル”mirvane.hlp”が見つかりません\r\n\r\nMirvaneを再インストールしてください",
               "\r\nヘルプの目次ファイル”mirvane.cnt”が見つかりません", HelpRequest::Command::Topic, topic);
}

void TForm1::smClick() {
  OpenHelpFile(
      "mvtheory",
      "\r\nセオリーマニュアル”mvtheory.hlp”が見つかりません\r\n\r\nMirvaneを再インストールしてください",
      "\r\nヘルプの目次ファイル”mvtheory.cnt”が見つかりません", HelpRequest::Command::Contents, "CONTENTS()");
}

void TForm1::V1Click() {
  WithOptionLibrary([&](OptionSession& library) { library.ShowVersion(VersionText); });
}

}  // namespace mv
