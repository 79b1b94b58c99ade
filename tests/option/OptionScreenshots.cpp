// Pictures of the option library's dialogs over the program's window showing the sample
// micrograph, taken under an X server (Xvfb):
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/option_screenshots OUTPUT-FOLDER [PROGRAM-FOLDER]
// The window runs in a fresh program folder with option.so copied from PROGRAM-FOLDER (default: the
// folder of this program); each dialog is opened through the program's binding on the micrograph,
// posed (OptionDialogScenes.h), pictured and closed. Not a test: it only writes the pictures.

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "codecs/PngImage.h"
#include "option/OptionDialogScenes.h"
#include "optionlib/DynamicOptionLibrary.h"
#include "platform/ProgramFolder.h"
#include "ui/MainWindow.h"
#include "ui/UiFont.h"

namespace mv {
namespace {

constexpr int kSettle = 300;  // milliseconds for the X server to show what was drawn

class DialogShots {
 public:
  DialogShots(QWidget& window, QString output) : window_(window), output_(std::move(output)) {}

  // The window and every top-level widget over it, as the screen shows them.
  void Shot(const QString& name) {
    QRect area = window_.frameGeometry();
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->isVisible() && top != &window_) area = area.united(top->frameGeometry());
    }
    area = area.intersected(window_.screen()->geometry());
    const QPixmap shot = window_.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString path = output_ + "/" + name + ".png";
    shot.save(path, "PNG");
    std::printf("%s\n", qPrintable(path));
  }

  // Runs `open`, which shows a modal dialog; once shown it is posed, pictured and cancelled.
  void Of(const QString& name, const std::function<void()>& open, const std::function<void(QWidget&)>& pose) {
    QTimer::singleShot(700, [this, name, pose] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (dialog == nullptr) {
        std::fprintf(stderr, "no dialog for %s\n", qPrintable(name));
        return;
      }
      pose(*dialog);
      QTest::qWait(kSettle);
      Shot(name);
      static_cast<QDialog*>(dialog)->reject();
    });
    open();
    QTest::qWait(100);
  }

 private:
  QWidget& window_;
  QString output_;
};

void TakeShots(QWidget& window, const std::string& programFolder, const Bitmap& picture, DialogShots& shots) {
  QTest::qWait(900);  // the start-up tick
  DynamicOptionLibrary library(programFolder);
  shots.Of(
      "60-histogram", [&] { library.Load()->ShowHistgram(picture); }, scenes::PoseHistogram);
  shots.Of(
      "61-histogram-stretch", [&] { library.Load()->GetHistgramHiLow(picture); }, scenes::PoseStretch);
  shots.Of(
      "62-histogram-range", [&] { library.Load()->GetHistgramRange(picture); }, scenes::PoseRange);
  shots.Of(
      "63-custom-filter",
      [&] {
        CustomFilterRecord record;
        library.Load()->ShowCustomFilter(record);
      },
      scenes::PoseCustomFilter);
  shots.Of(
      "64-jpeg-quality", [&] { library.Load()->CompressDialogFor(picture); }, scenes::PoseQuality);
  shots.Of(
      "65-opacity", [&] { library.Load()->GetAlphaBlendVal(); }, scenes::PoseOpacity);
  window.setWindowOpacity(1.0);
  shots.Of(
      "66-background-grey", [&] { library.Load()->TransBackColor(); }, scenes::PoseBackground);
}

}  // namespace
}  // namespace mv

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setFont(mv::WindowFont());
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() < 2) {
    std::fprintf(stderr, "usage: option_screenshots OUTPUT-FOLDER [PROGRAM-FOLDER]\n");
    return 2;
  }
  const QString output = arguments[1];
  QDir().mkpath(output);
  const std::string libraries = arguments.size() > 2 ? arguments[2].toStdString() : mv::ExecutableFolder();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "mirvane-option-screenshots";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(std::filesystem::path(libraries) / "option.so", folder / "option.so");

  mv::PngImage sample;
  sample.LoadFromFile(MV_SAMPLE);
  const mv::Bitmap picture = sample.ToBitmap();

  int status = 0;
  {
    mv::MainWindow window(folder.string());
    window.show();
    window.Start({MV_SAMPLE});
    window.setGeometry(40, 40, 1180, 900);  // large enough for the micrograph to show round the dialogs
    mv::DialogShots shots(window, output);
    QTimer::singleShot(0, [&] {
      mv::TakeShots(window, folder.string(), picture, shots);
      QApplication::exit(0);
    });
    status = QApplication::exec();
  }
  std::filesystem::remove_all(folder);
  return status;
}
