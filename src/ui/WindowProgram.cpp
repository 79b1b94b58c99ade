// The window program: the Qt application around the main window.
//
//   mirvane [IMAGE]                      the window, with IMAGE opened
//   mirvane --screenshot PNG [IMAGE]     the same, and once the start-up tick has been handled the
//                                        window as the screen shows it is saved to PNG and the program
//                                        ends without closing the window (nothing is written to the
//                                        settings); prints "screenshot WIDTH HEIGHT", the window's
//                                        size in device pixels (for tests)

#include <QApplication>
#include <QFile>
#include <clocale>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProgramFolder.h"
#include "ui/MainWindow.h"
#include "ui/Screenshot.h"
#include "ui/Translations.h"
#include "ui/UiFont.h"

namespace mv {

int RunWindowProgram(int argc, char** argv) {
  QApplication application(argc, argv);
  // Qt took the C library's locale from the environment; numbers are written with '.' everywhere.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("mirvane");
  QApplication::setFont(WindowFont());
  InstallJapaneseQtTexts(application);

  std::optional<QString> screenshot;
  std::vector<std::string> arguments;
  const QStringList given = QApplication::arguments();
  for (qsizetype i = 1; i < given.size(); ++i) {
    if (given[i] == "--screenshot" && i + 1 < given.size()) {
      screenshot = given[++i];
      continue;
    }
    arguments.push_back(QFile::encodeName(given[i]).toStdString());
  }

  MainWindow window(ExecutableFolder());
  window.show();
  window.Start(arguments);
  if (screenshot) SaveScreenshotAfterStartup(window, *screenshot);
  return QApplication::exec();
}

}  // namespace mv
