// Pictures of the real window for looking at, taken under an X server (Xvfb):
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/ui_screenshots OUTPUT-FOLDER [PROGRAM-FOLDER]
// The window opens the sample micrograph with option.so from PROGRAM-FOLDER (default: the folder of
// this program, where the build puts option.so) copied into a fresh folder of its own; then it is
// shown at several zooms, with each menu open, with the option library's dialogs and the open
// dialog, the progress dialog, a selection, measured figures and a measurement scrolled while its
// rubber band follows the pointer. Last the program runs itself again with QT_SCALE_FACTOR=2 for the
// window at a device pixel ratio of 2 (pictures 9x). Not a test: it only writes the pictures.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/ProgramFolder.h"
#include "platform/UserName.h"
#include "shell/OptionDialogs.h"
#include "shell/TForm1.h"
#include "shell/TForm3.h"
#include "ui/ImageAreaWidget.h"
#include "ui/MainWindow.h"
#include "ui/MenuBinder.h"
#include "ui/Translations.h"
#include "ui/UiFont.h"

namespace mv {
namespace {

constexpr int kSettle = 250;  // milliseconds for the X server to show what was drawn

class Tour {
 public:
  Tour(MainWindow& window, QString folder) : window_(window), folder_(std::move(folder)) {}

  // The window and any dialog over it as the screen shows them. Open menus are drawn over that
  // picture by Qt, top menu last: the X server without a window manager does not always keep a
  // menu above the window once its submenu opens.
  void Shot(const QString& name) {
    QTest::qWait(kSettle);
    QRect area = window_.frameGeometry();
    std::vector<QMenu*> menus;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (!top->isVisible() || top == &window_) continue;
      area = area.united(top->frameGeometry());
      if (auto* menu = qobject_cast<QMenu*>(top)) menus.push_back(menu);
    }
    area = area.intersected(window_.screen()->geometry());
    QPixmap shot = window_.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    std::sort(menus.begin(), menus.end(), [](QMenu* a, QMenu* b) { return a->x() < b->x(); });
    {
      QPainter painter(&shot);
      for (QMenu* menu : menus) painter.drawPixmap(menu->pos() - area.topLeft(), menu->grab());
    }
    const QString path = folder_ + "/" + name + ".png";
    shot.save(path, "PNG");
    std::printf("%s\n", qPrintable(path));
  }

  // Runs `open`, which shows a modal dialog; `fill` sets its fields, then the picture is taken and
  // `finish` leaves the dialog (by default it is closed as by its close box).
  void ShotOfDialog(const QString& name, const std::function<void()>& open,
                    const std::function<void(QWidget&)>& fill = {},
                    const std::function<void(QWidget&)>& finish = {}) {
    QTimer::singleShot(600, [this, name, fill, finish] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (dialog != nullptr && fill) fill(*dialog);
      Shot(name);
      if (dialog == nullptr) return;
      if (finish)
        finish(*dialog);
      else
        dialog->close();
    });
    open();
    QTest::qWait(100);
  }

  // One step of a chain of modal dialogs: the picture's name, how to fill the dialog before it is
  // taken and how to leave it (which may open the next dialog of the chain).
  struct DialogStep {
    QString name;
    std::function<void(QWidget&)> fill;
    std::function<void(QWidget&)> finish;
  };
  // Runs `open`, which shows the first dialog of the chain; each later dialog is taken once the one
  // before was left.
  void ShotsOfDialogs(const std::function<void()>& open, std::vector<DialogStep> steps) {
    TakeStep(std::make_shared<std::vector<DialogStep>>(std::move(steps)), 0);
    open();
    QTest::qWait(100);
  }

  void Choose(const char* item) {
    window_.Menus().Action(item)->trigger();
    QTest::qWait(100);
  }

  void ShotOfMenu(const QString& name, const char* menuName, const char* submenuName = nullptr) {
    QMenu* menu = window_.Menus().Menu(menuName);
    if (menu->parent() == &window_) {  // a popup menu: opened where the pointer is, as a right click would
      window_.Form().MenuOpening(menuName);
      window_.Menus().Sync();
      menu->popup(QCursor::pos());
      Shot(name);
      menu->hide();
      return;
    }
    // The menu bar opens a menu only once it has let go of the one before.
    for (int attempt = 0; attempt < 5 && !menu->isVisible(); ++attempt) {
      window_.menuBar()->setActiveAction(menu->menuAction());
      QTest::qWait(kSettle);
    }
    if (submenuName != nullptr) {
      QMenu* submenu = window_.Menus().Menu(submenuName);
      menu->setActiveAction(submenu->menuAction());
      QTest::keyClick(menu, Qt::Key_Right);
    }
    Shot(name);
    if (submenuName != nullptr) window_.Menus().Menu(submenuName)->hide();
    menu->hide();
    window_.menuBar()->setActiveAction(nullptr);
    QTest::qWait(100);
  }

  // A click on the image area at content point (x, y) of the view.
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* area = window_.ImageArea().viewport();
    QTest::mouseMove(area, at);
    QTest::mouseClick(area, button, Qt::NoModifier, at);
    QTest::qWait(50);
  }

  // The pointer moved to point `at` of the visible part of the image area.
  void Move(QPoint at) {
    QWidget* area = window_.ImageArea().viewport();
    QCursor::setPos(area->mapToGlobal(at));
    QTest::mouseMove(area, at);
    QTest::qWait(50);
  }

  // One notch of the mouse wheel, down, with the pointer at point `at` of the visible part.
  void WheelDown(QPoint at) {
    QWidget* area = window_.ImageArea().viewport();
    QWheelEvent wheel(at, area->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &wheel);
    QTest::qWait(50);
  }

 private:
  void TakeStep(std::shared_ptr<std::vector<DialogStep>> steps, std::size_t index) {
    QTimer::singleShot(600, [this, steps, index] {
      const DialogStep& step = (*steps)[index];
      QWidget* dialog = QApplication::activeModalWidget();
      if (dialog != nullptr && step.fill) step.fill(*dialog);
      Shot(step.name);
      if (index + 1 < steps->size()) TakeStep(steps, index + 1);
      if (dialog == nullptr) return;
      if (step.finish)
        step.finish(*dialog);
      else
        dialog->close();
    });
  }

  MainWindow& window_;
  QString folder_;
};

// Presses a button of a message box or of one of the option library's dialogs.
void Press(QWidget& dialog, QMessageBox::StandardButton button) {
  if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
    box->button(button)->click();
  } else if (auto* ok = dialog.findChild<QPushButton*>(button == QMessageBox::Ok ? "ok" : "cancel")) {
    ok->click();
  }
}

void TakeTour(MainWindow& window, Tour& tour) {
  TForm1& form = window.Form();
  QTest::qWait(900);  // the start-up tick
  tour.Shot("01-start-100");
  for (const auto& [item, name] : {std::pair{"N251", "02-zoom-25"},
                                   {"N501", "03-zoom-50"},
                                   {"N2001", "04-zoom-200"},
                                   {"N4001", "05-zoom-400"}}) {
    tour.Choose(item);
    tour.Shot(name);
  }
  QTest::mouseClick(window.findChild<QToolButton*>("BitBtn3"), Qt::LeftButton);
  tour.Shot("06-fit");

  int index = 10;
  for (const auto& menu : form.menus.Get(kMainMenu).children) {
    tour.ShotOfMenu(QString("%1-menu-%2").arg(index++).arg(QString::fromStdString(menu->name)),
                    menu->name.c_str());
  }
  tour.ShotOfMenu("20-menu-N7-N17", "N7", "N17");

  tour.ShotOfDialog("30-dialog-settings", [&] { tour.Choose("O2"); });
  tour.ShotOfDialog("31-dialog-version", [&] { tour.Choose("V1"); });
  tour.ShotOfDialog("32-dialog-zoom-ratio", [&] { tour.Choose("N14"); });
  tour.ShotOfDialog("34-dialog-open", [&] { tour.Choose("N2"); });
  QTest::mouseClick(window.findChild<QToolButton*>("BitBtn3"), Qt::LeftButton);

  {
    int openDialogs = 0;
    TForm3 progress(form.desktop, openDialogs);
    progress.Start("縮小/拡大画像作成中", 100);
    for (int i = 0; i < 40; ++i) progress.StepIt();
    tour.Shot("33-progress");
  }

  // A selection dragged on the image area.
  QWidget* area = window.ImageArea().viewport();
  QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(60, 40));
  for (int step = 1; step <= 10; ++step) QTest::mouseMove(area, QPoint(60 + step * 14, 40 + step * 9));
  QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(200, 130));
  tour.Shot("40-selection");
  tour.Click(QPoint(5, 5));

  // The scale bar runs from (940, 840) to (1140, 840) of the sample and is 50 μm long.
  const auto view = [&](double x, double y) {
    const double zoom = static_cast<double>(form.view.ZoomFactor);
    return QPoint(qRound(x * zoom), qRound(y * zoom));
  };
  tour.Choose("N13");
  tour.Click(view(940, 840));
  tour.ShotOfDialog(
      "41-calibration-length", [&] { tour.Click(view(1140, 840)); },
      [](QWidget& dialog) {
        dialog.findChild<QLineEdit*>("length")->setText("50");
        dialog.findChild<QComboBox*>("unit")->setCurrentIndex(0);
      },
      [](QWidget& dialog) { dialog.findChild<QPushButton*>("ok")->click(); });
  tour.Shot("42-calibrated");

  // A polygon round the large cell at the lower left, finished with the middle button.
  tour.Choose("N15");
  for (const QPoint at :
       {view(215, 640), view(290, 612), view(362, 665), view(356, 745), view(280, 782), view(218, 735)})
    tour.Click(at);
  tour.ShotOfMenu("43-context-menu", kImagePopupMenu);
  tour.ShotOfDialog(
      "44-polygon-area", [&] { tour.Click(view(218, 735), Qt::MiddleButton); }, {},
      [](QWidget& dialog) { static_cast<QDialog&>(dialog).accept(); });
  // A polyline from cell to cell.
  tour.Choose("N10");
  for (const QPoint at : {view(470, 430), view(640, 590), view(800, 210)}) tour.Click(at);
  tour.ShotOfDialog(
      "45-polyline-length", [&] { tour.Click(view(1010, 340), Qt::MiddleButton); }, {},
      [](QWidget& dialog) { static_cast<QDialog&>(dialog).accept(); });
  tour.Shot("46-calibrated-polygon-and-polyline");

  tour.ShotOfDialog("47-dialog-size", [&] { tour.Choose("N52"); });

  // The option-and-preview dialog through the binarization command (mode 8), its preview after a
  // slider move, and the RGB dialog with the red offset raised; then the modes whose commands come
  // with other areas (PNG saving 1, line art 10, blur 100), shown by the option dialog call itself.
  tour.Choose("A2");
  tour.ShotOfDialog("50-option-mode-8", [&] { tour.Choose("N211"); });
  tour.ShotOfDialog(
      "51-option-mode-8-moved", [&] { tour.Choose("N211"); },
      [](QWidget& dialog) { dialog.findChild<QSlider*>("TrackBar1")->setValue(60); });
  tour.ShotOfDialog(
      "52-rgb-dialog", [&] { tour.Choose("RGB1"); },
      [](QWidget& dialog) { dialog.findChild<QSlider*>("TrackBar1")->setValue(120); });
  for (const int mode : {1, 10, 100}) {
    tour.ShotOfDialog(QString("53-option-mode-%1").arg(mode),
                      [&] { form.Run([&] { AskOptions(form, form.image.Picture(), mode); }); });
  }

  // At 100 % a polyline under input, its rubber band at the pointer; a notch of the wheel scrolls
  // the picture under the still pointer and composes it anew without the band; the next move draws
  // the band from the last point, with no line left to where it ended before; then the figure is
  // finished.
  tour.Choose("N18");
  tour.Choose("N10");
  tour.Click(QPoint(120, 60));
  tour.Click(QPoint(260, 110));
  tour.Move(QPoint(330, 150));
  tour.Shot("60-measuring-before-scroll");
  tour.WheelDown(QPoint(330, 150));
  tour.Shot("61-measuring-scrolled");
  tour.Move(QPoint(360, 170));
  tour.Shot("62-measuring-scrolled-moved");
  tour.ShotOfDialog(
      "63-measured-after-scroll", [&] { tour.Click(QPoint(360, 170), Qt::MiddleButton); }, {},
      [](QWidget& dialog) { static_cast<QDialog&>(dialog).accept(); });
  tour.Shot("64-measured-after-scroll");

  // Filters and effects: the custom filter's dialog with the emboss preset and its preview on the
  // test pattern, taken back; the picture after the unsharp mask; the wave's centre clicked on the
  // picture, its options, and the picture after the wave.
  tour.ShotsOfDialogs([&] { tour.Choose("N55"); },
                      {{"65-custom-filter",
                        [](QWidget& dialog) {
                          auto* presets = dialog.findChild<QComboBox*>("preset");
                          presets->setCurrentIndex(5);
                          presets->activated(5);
                        },
                        [](QWidget& dialog) { Press(dialog, QMessageBox::Cancel); }}});
  tour.ShotsOfDialogs([&] { tour.Choose("S3"); }, {{"66-unsharp-mask-options", {}, [](QWidget& dialog) {
                                                      dialog.findChild<QPushButton*>("BitBtn1")->click();
                                                    }}});
  QTest::qWait(1500);  // the pass and its progress dialog
  tour.Shot("67-after-unsharp-mask");
  tour.Choose("W6");
  tour.Shot("68-wave-centre-awaited");
  tour.ShotsOfDialogs(
      [&] { tour.Click(QPoint(300, 220)); },
      {{"69-wave-options", {}, [](QWidget& dialog) { dialog.findChild<QPushButton*>("BitBtn1")->click(); }}});
  QTest::qWait(1500);
  tour.Shot("70-after-wave");
  tour.Click(QPoint(5, 5));

  // Saving: the save dialog starts in the PNG filter (the sample is a PNG file); a PNG name brings
  // the PNG options on the picture's thumbnail, a JPEG name the option library's quality dialog with
  // the file's size.
  const QString saved = QDir::tempPath() + "/mirvane-tour-saved";
  QFile::remove(saved + ".png");  // no overwrite question on the way
  const auto saveAs = [](const QString& path) {
    return [path](QWidget& dialog) {
      // Typed into the name field, as a user would (selectFile keeps the chosen file for a while).
      dialog.findChild<QLineEdit*>("fileNameEdit")->setText(path);
      QMetaObject::invokeMethod(&dialog, "accept");
    };
  };
  tour.ShotsOfDialogs([&] { tour.Choose("S1"); },
                      {{"71-save-dialog", {}, saveAs(saved + ".png")},
                       {"72-save-png-options",
                        [](QWidget& dialog) {
                          dialog.findChild<QLineEdit*>("Edit3")->setText("2.2");
                          dialog.findChild<QSlider*>("TrackBar1")->setValue(6);
                        },
                        [](QWidget& dialog) { dialog.findChild<QPushButton*>("BitBtn1")->click(); }}});
  tour.Shot("73-saved");
  tour.ShotsOfDialogs(
      [&] { tour.Choose("S1"); },
      {{"74-save-dialog-jpeg", {}, saveAs(saved + ".jpg")},
       {"75-save-jpeg-quality", [](QWidget& dialog) { dialog.findChild<QSpinBox*>("quality")->setValue(70); },
        [](QWidget& dialog) { Press(dialog, QMessageBox::Cancel); }}});
  tour.Shot("76-save-cancelled");

  // Transparency mode: the discard and always-on-top questions, then the opacity and the
  // background's grey level from the option library; the window over its grey background.
  tour.ShotsOfDialogs(
      [&] { tour.Choose("A1"); },
      {{"77-transparency-discard", {}, [](QWidget& d) { Press(d, QMessageBox::Ok); }},
       {"78-transparency-on-top", {}, [](QWidget& d) { Press(d, QMessageBox::No); }},
       {"79-transparency-opacity", [](QWidget& d) { d.findChild<QSpinBox*>()->setValue(170); },
        [](QWidget& d) { Press(d, QMessageBox::Ok); }},
       {"7a-transparency-background", [](QWidget& d) { d.findChild<QSpinBox*>()->setValue(96); },
        [](QWidget& d) { Press(d, QMessageBox::Ok); }}});
  tour.Shot("7b-transparency-mode");
  tour.Choose("A1");

  // Capture of the desktop with the window on it, shown as the new picture.
  tour.Choose("MirvaneP1");
  QTest::qWait(1200);
  tour.Shot("80-captured-desktop");
  std::filesystem::remove(QFile::encodeName(saved + ".png").toStdString());
}

// The window at a device pixel ratio of 2: 100 % is one picture pixel per screen pixel, the texts
// and bars are twice as large, the overlay is drawn as finely as the screen shows.
void TakeScaledTour(Tour& tour) {
  QTest::qWait(900);  // the start-up tick
  tour.Choose("N18");
  tour.Shot("90-scale-2-start-100");
  tour.Choose("N10");
  for (const QPoint at : {QPoint(60, 40), QPoint(180, 95), QPoint(230, 60)}) tour.Click(at);
  tour.Move(QPoint(280, 120));
  tour.Shot("91-scale-2-polyline");
  tour.ShotOfDialog("92-scale-2-dialog-open", [&] { tour.Choose("N2"); });
}

}  // namespace
}  // namespace mv

int main(int argc, char** argv) {
  // "--scaled" (first argument): the tour at a device pixel ratio of 2.
  const bool scaled = argc > 1 && std::string(argv[1]) == "--scaled";
  if (scaled) qputenv("QT_SCALE_FACTOR", "2");
  QApplication application(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setFont(mv::WindowFont());
  mv::InstallJapaneseQtTexts(application);
  QStringList arguments = QApplication::arguments();
  if (scaled) arguments.removeAt(1);
  if (arguments.size() < 2) {
    std::fprintf(stderr, "usage: ui_screenshots OUTPUT-FOLDER [PROGRAM-FOLDER]\n");
    return 2;
  }
  const QString output = arguments[1];
  QDir().mkpath(output);
  const std::string libraries = arguments.size() > 2 ? arguments[2].toStdString() : mv::ExecutableFolder();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "mirvane-screenshots";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  for (const char* library : {"option.so", "mvfilters.so"}) {
    const std::filesystem::path from = std::filesystem::path(libraries) / library;
    if (std::filesystem::exists(from)) std::filesystem::copy_file(from, folder / library);
  }

  // The guidance boxes of the measuring tools would stop the tour; the settings skip them.
  std::FILE* settings = std::fopen((folder / (mv::CurrentUserName() + ".ini")).c_str(), "w");
  if (settings != nullptr) {
    std::fputs("[Show]\r\nTool Message=1\r\n", settings);
    std::fclose(settings);
  }

  int status = 0;
  {
    mv::MainWindow window(folder.string());
    window.show();
    window.Start({MV_SAMPLE});
    mv::Tour tour(window, output);
    QTimer::singleShot(0, [&] {
      if (scaled)
        mv::TakeScaledTour(tour);
      else
        mv::TakeTour(window, tour);
      QApplication::exit(0);
    });
    status = QApplication::exec();
  }
  std::filesystem::remove_all(folder);
  if (status != 0 || scaled) return status;
  QStringList again = {"--scaled", output, QString::fromStdString(libraries)};
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start(QApplication::applicationFilePath(), again);
  process.waitForFinished(-1);
  return process.exitCode();
}
