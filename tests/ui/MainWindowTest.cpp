// The window on the offscreen platform: what the core's model holds is on the screen, and what the
// user does there reaches the core.

#include <QAction>
#include <QCursor>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QUrl>
#include <fstream>

#include "platform/IniFile.h"
#include "ui/ImageAreaWidget.h"
#include "ui/MenuBinder.h"
#include "ui/ProgressWindow.h"
#include "ui/QtTestSupport.h"
#include "ui/StatusBarWidget.h"
#include "ui/WindowFixture.h"

namespace mv::test {
namespace {

std::vector<std::string> Names(const QList<QToolButton*>& buttons) {
  std::vector<std::string> names;
  for (const QToolButton* button : buttons) names.push_back(button->objectName().toStdString());
  return names;
}

std::vector<std::string> ModelNames(const std::vector<BarButton>& buttons) {
  std::vector<std::string> names;
  for (const BarButton& button : buttons) names.push_back(button.name);
  return names;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
  int Count() const { return count_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count_;
    return false;
  }

 private:
  int count_ = 0;
};

TEST_F(WindowTest, EveryItemOfTheModelIsInTheMenusWithItsCaptionShortcutAndState) {
  int items = 0;
  Form().menus.ForEach([&](MenuItem& item) {
    if (item.parent == nullptr) return;  // the three roots
    QAction* action = window_->Menus().Action(item.name);
    ASSERT_NE(action, nullptr) << item.name;
    ++items;
    if (item.caption == "-") {
      EXPECT_TRUE(action->isSeparator()) << item.name;
      return;
    }
    if (QMenu* menu = action->menu())
      EXPECT_EQ(menu->title().toStdString(), item.caption) << item.name;
    else
      EXPECT_EQ(action->text(), ActionText(item)) << item.name;
    EXPECT_EQ(action->isVisible(), item.visible) << item.name;
    if (item.visible) {
      EXPECT_EQ(action->isEnabled(), item.enabled) << item.name;  // Qt disables hidden actions
    }
    EXPECT_EQ(action->isChecked(), item.checked) << item.name;
  });
  EXPECT_GT(items, 30);

  std::vector<std::string> bar, model;
  for (const QAction* action : window_->menuBar()->actions())
    bar.push_back(action->objectName().toStdString());
  for (const auto& menu : Form().menus.Get(kMainMenu).children) model.push_back(menu->name);
  EXPECT_EQ(bar, model);

  EXPECT_EQ(window_->Menus().Action("N2")->text(), "開く(&O)\tCtrl+O");
  EXPECT_TRUE(window_->Menus().Action("N18")->isChecked());
  EXPECT_FALSE(window_->Menus().Action("Up1")->isVisible());
  EXPECT_EQ(window_->windowTitle(), "mirvane  -- Version 1.0.0.0");
}

TEST_F(WindowTest, BarsAndStatusPanelsHaveTheirSizesAndPlaces) {
  const int width = window_->width();
  // The settings' 540 widened to the smallest window (the offscreen platform's frame included).
  EXPECT_EQ(window_->frameGeometry().width(), 545);
  EXPECT_EQ(window_->frameGeometry().height(), 350);

  auto* pn1 = Child("pn1");
  EXPECT_EQ(pn1->height(), 26);
  EXPECT_EQ(pn1->width(), width);
  const QList<QToolButton*> bottom = pn1->findChildren<QToolButton*>();
  EXPECT_EQ(Names(bottom), ModelNames(Form().controls.pn1));
  for (int i = 0; i + 1 < bottom.size(); ++i) EXPECT_LT(bottom[i]->x(), bottom[i + 1]->x());
  EXPECT_GE(bottom.back()->geometry().right(), pn1->width() - 3);  // kept to the right edge
  EXPECT_EQ(Child<QLabel>("Label1")->text(), "メッセージが表示されます");

  auto* pn2 = Child("pn2");
  EXPECT_EQ(pn2->width(), 28);
  const QList<QToolButton*> side = pn2->findChildren<QToolButton*>();
  EXPECT_EQ(Names(side), ModelNames(Form().controls.pn2));
  for (const QToolButton* button : side) {
    EXPECT_EQ(button->size(), QSize(25, 25));
    EXPECT_FALSE(button->toolTip().isEmpty());
  }
  EXPECT_EQ(Child<QLabel>("Label2")->text(), "線");
  for (const ColorPanel& panel : Form().controls.colorPanels) {
    auto* widget = Child(panel.name.c_str());
    EXPECT_EQ(widget->geometry(), QRect(panel.position.x, panel.position.y, 10, 10)) << panel.name;
    EXPECT_EQ(widget->toolTip().toStdString(), panel.hint);
    EXPECT_EQ(widget->parentWidget(), pn2);
  }
  // The image area takes what the side bar leaves.
  EXPECT_EQ(Child("scb1")->width(), width - 28);

  auto* sb1 = Child<StatusBarWidget>("sb1");
  int total = 0;
  std::vector<int> widths;
  for (const StatusPanel& panel : sb1->Panels()) {
    widths.push_back(panel.width);
    total += panel.width;
  }
  EXPECT_EQ(widths, (std::vector<int>{90, width - 350, 70, 70, 40, 80}));
  EXPECT_EQ(total, sb1->width());
  EXPECT_GT(sb1->y(), pn1->y());
}

TEST_F(WindowTest, AMenuItemAButtonAndTheSideBarItemReachTheCore) {
  Load(WritePicture(folder_, "picture.png", 64, 48));
  window_->Menus().Action("N4001")->trigger();
  Settle();
  EXPECT_EQ(Form().view.ZoomFactor, 4.0L);
  EXPECT_TRUE(window_->Menus().Action("N4001")->isChecked());
  EXPECT_FALSE(window_->Menus().Action("N18")->isChecked());
  EXPECT_EQ(Child<QLabel>("Label1")->text(), "表示倍率： 4 倍");

  QTest::mouseClick(Child<QToolButton>("BitBtn4"), Qt::LeftButton);
  Settle();
  EXPECT_EQ(Form().view.ZoomFactor, 1.0L);
  EXPECT_TRUE(window_->Menus().Action("N18")->isChecked());

  const int areaWidth = Child("scb1")->width();
  window_->Menus().Action("N24")->trigger();
  Settle();
  EXPECT_FALSE(Child("pn2")->isVisible());
  EXPECT_FALSE(window_->Menus().Action("N24")->isChecked());
  EXPECT_EQ(Child("scb1")->width(), areaWidth + 28);
}

TEST_F(WindowTest, StatusPanelsShowThePathOrOpenTheDepthMenu) {
  const std::string path = WritePicture(folder_, "picture.png", 64, 48);
  Load(path);
  auto* sb1 = Child<StatusBarWidget>("sb1");
  EXPECT_EQ(sb1->toolTip().toStdString(), path);
  EXPECT_EQ(sb1->Panels()[2].text, "64x48");

  QString shown;
  {
    const NextDialog box([&](QWidget& dialog) {
      shown = static_cast<QMessageBox&>(dialog).text();
      static_cast<QMessageBox&>(dialog).accept();
    });
    QTest::mouseClick(sb1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
  }
  EXPECT_EQ(shown.toStdString(), path);

  QString popup;
  {
    const NextDialog menu([&](QWidget& opened) {
      popup = opened.objectName();
      opened.close();
    });
    const int depthPanel = 90 + sb1->Panels()[1].width + 70 + 70 + 5;
    QTest::mouseClick(sb1, Qt::LeftButton, Qt::NoModifier, QPoint(depthPanel, 5));
  }
  // The colour-depth menu opens once its items exist.
  if (!Form().menus.Get(kDepthPopupMenu).children.empty()) {
    EXPECT_EQ(popup, "PopupMenu2");
  }
}

TEST_F(WindowTest, ARightClickOnTheImageOpensItsContextMenuAsTheCoreLeftIt) {
  Load(WritePicture(folder_, "picture.png", 64, 48));
  QString opened;
  int mismatches = 0;
  {
    const NextDialog popup([&](QWidget& menu) {
      opened = menu.objectName();
      for (QAction* action : menu.actions()) {
        const MenuItem* item = Form().menus.Find(action->objectName().toStdString());
        if (item != nullptr && item->visible && action->isEnabled() != item->enabled) ++mismatches;
      }
      menu.close();
    });
    QTest::mouseClick(Child<ImageAreaWidget>("scb1")->viewport(), Qt::RightButton, Qt::NoModifier,
                      QPoint(20, 20));
  }
  if (!Form().menus.Get(kImagePopupMenu).children.empty()) {
    EXPECT_EQ(opened, "PopupMenu1");
    EXPECT_EQ(mismatches, 0);
  }
}

TEST_F(WindowTest, ADroppedFileLoadsTheFirstLocalFile) {
  const std::string first = WritePicture(folder_, "first.png", 40, 30);
  const std::string second = WritePicture(folder_, "second.png", 20, 10);
  QMimeData data;
  data.setUrls({QUrl("https://example.com/remote.png"), QUrl::fromLocalFile(QString::fromStdString(first)),
                QUrl::fromLocalFile(QString::fromStdString(second))});
  const QPoint at = window_->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window_.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window_.get(), &drop);
  Settle();
  ASSERT_TRUE(Form().image.Exists());
  EXPECT_EQ(Form().image.Width(), 40);
  EXPECT_EQ(Form().controls.sb1Hint, first);

  QMimeData text;
  text.setText("no file");
  QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  refused.setAccepted(false);
  QCoreApplication::sendEvent(window_.get(), &refused);
  EXPECT_FALSE(refused.isAccepted());
}

TEST_F(WindowTest, ArrowKeysReachTheirBindingsThroughTheScrollBox) {
  const std::string a = WritePicture(folder_, "a.png", 64, 48);
  const std::string b = WritePicture(folder_, "b.png", 32, 24);
  Load(a);
  auto* area = Child("scb1");
  area->setFocus();
  // Up1 and Down1 are hidden, their keys still work.
  QTest::keyClick(area, Qt::Key_Up);
  Settle();
  EXPECT_TRUE(window_->Menus().Action("N2001")->isChecked());
  QTest::keyClick(area, Qt::Key_Down);
  Settle();
  EXPECT_TRUE(window_->Menus().Action("N18")->isChecked());
  // Out of viewer mode the View menu's opening handler, which a key runs first, leaves Right
  // disabled; in viewer mode it steps to the next picture of the folder.
  QTest::keyClick(area, Qt::Key_Right);
  Settle();
  EXPECT_EQ(Form().controls.sb1Hint, a);
  window_->Deliver([&] { Form().MenuChosen("N33"); });
  QTest::keyClick(area, Qt::Key_Right);
  Settle();
  EXPECT_EQ(Form().controls.sb1Hint, b);
  QTest::keyClick(area, Qt::Key_Left);
  Settle();
  EXPECT_EQ(Form().controls.sb1Hint, a);
}

TEST_F(WindowTest, CtrlOOpensThePictureDialogWithTheTranslatedFilters) {
  QString title;
  QStringList filters;
  {
    const NextDialog dialog([&](QWidget& opened) {
      title = opened.windowTitle();
      if (auto* files = qobject_cast<QFileDialog*>(&opened)) filters = files->nameFilters();
      static_cast<QDialog&>(opened).reject();
    });
    QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier);
    Settle();
  }
  EXPECT_EQ(title, "開く");
  EXPECT_EQ(filters, QStringList({"JPG, ビットマップ, GIF, PNGファイル (*.jpg *.bmp *.gif *.png)",
                                  "全てのファイル (*)"}));
}

TEST_F(WindowTest, TheWheelScrollsByTheWheelStepAndFiveTimesWithCtrl) {
  Load(WritePicture(folder_, "large.png", 1600, 1200));
  auto* area = Child<ImageAreaWidget>("scb1");
  const auto turn = [&](int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(QPointF(20, 20), QPointF(area->viewport()->mapToGlobal(QPoint(20, 20))), QPoint(),
                      QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(area->viewport(), &wheel);
    Settle();
  };
  // The pointer stays at (20, 20) of the visible part; status panel 3 follows the picture under it.
  QCursor::setPos(area->viewport()->mapToGlobal(QPoint(20, 20)));
  turn(-120, Qt::NoModifier);
  EXPECT_EQ(Form().view.scroll, (Point{0, 40}));
  EXPECT_EQ(Form().controls.sb1[3].text, "20,60");
  turn(-120, Qt::ControlModifier);
  EXPECT_EQ(Form().view.scroll, (Point{0, 240}));
  turn(-120, Qt::ShiftModifier);
  turn(120, Qt::NoModifier);
  EXPECT_EQ(Form().view.scroll, (Point{40, 200}));
  EXPECT_EQ(area->verticalScrollBar()->value(), 200);
  EXPECT_EQ(area->horizontalScrollBar()->value(), 40);
  // Half notches add up.
  turn(-60, Qt::NoModifier);
  EXPECT_EQ(Form().view.scroll.y, 200);
  turn(-60, Qt::NoModifier);
  EXPECT_EQ(Form().view.scroll.y, 240);

  // Dragging a scroll bar moves the view, and the surface shows the picture from there.
  area->verticalScrollBar()->setValue(300);
  Settle();
  EXPECT_EQ(Form().view.scroll.y, 300);
  const QImage shown = area->viewport()->grab().toImage();
  const QImage picture = TestPicture(1600, 1200);
  EXPECT_EQ(shown.pixel(7, 5), picture.pixel(40 + 7, 300 + 5));
}

TEST_F(WindowTest, WhatTheCoreDrawsBetweenCompositionsIsShownAtOnce) {
  Load(WritePicture(folder_, "picture.png", 200, 150));
  QWidget* viewport = Child<ImageAreaWidget>("scb1")->viewport();
  const QImage before = viewport->grab().toImage();
  PaintCounter paints(*viewport);
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QTest::mouseMove(viewport, QPoint(60, 40));
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(60, 40));
  Settle();
  EXPECT_TRUE(Form().selection.SelectionActive);
  EXPECT_EQ(Child<StatusBarWidget>("sb1")->Panels()[3].text, "50x30");
  EXPECT_GT(paints.Count(), 0);  // the screen shows the outline, not only a fresh grab
  // The selection outline inverts what lies under it; nothing else changes.
  const QImage after = viewport->grab().toImage();
  const QRgb under = before.pixel(30, 10);
  EXPECT_EQ(after.pixel(30, 10), qRgb(255 - qRed(under), 255 - qGreen(under), 255 - qBlue(under)));
  EXPECT_EQ(after.pixel(30, 20), before.pixel(30, 20));
  EXPECT_EQ(after.pixel(30, 5), before.pixel(30, 5));
}

TEST_F(WindowTest, AResizeAsksOptionSoAndRunsUnderAProgressDialogWhoseCancelStopsIt) {
  std::filesystem::copy_file(std::string(OPTION_FOLDER) + "/option.so", folder_.Path() / "option.so");
  Load(WritePicture(folder_, "picture.png", 400, 300));
  bool sawProgress = false, menuOpened = false;
  QTimer cancel;
  cancel.setInterval(2);
  QObject::connect(&cancel, &QTimer::timeout, [&] {
    auto* progress = window_->findChild<ProgressWindow*>("TForm3");
    if (progress == nullptr || !progress->isVisible()) return;
    cancel.stop();
    sawProgress = true;
    // While the operation runs the window takes no clicks: its menus stay shut.
    QTest::mouseClick(window_->menuBar(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 5));
    menuOpened = QApplication::activePopupWidget() != nullptr;
    progress->findChild<QPushButton*>("BitBtn1")->click();
  });
  cancel.start();
  const NextDialog size([&](QWidget& dialog) {
    EXPECT_EQ(dialog.findChild<QSpinBox*>("width")->value(), 400);
    dialog.findChild<QSpinBox*>("width")->setValue(4000);
    Click(dialog, "ok");
  });
  window_->Menus().Action("N52")->trigger();
  Settle();
  EXPECT_TRUE(sawProgress);
  EXPECT_FALSE(menuOpened);
  EXPECT_EQ(Form().image.Width(), 400);  // a cancelled resize leaves the picture
  EXPECT_EQ(Child<QLabel>("Label1")->text(), "画像のサイズ変更に失敗しました");
  EXPECT_EQ(window_->findChild<ProgressWindow*>("TForm3"), nullptr);
}

TEST_F(WindowTest, TheStartupTickComesOnceAndStopsTimer1) {
  EXPECT_TRUE(window_->Timer1().isActive());
  QTest::qWait(650);
  EXPECT_FALSE(window_->Timer1().isActive());
  EXPECT_FALSE(Form().Timer1Enabled);
}

TEST_F(WindowTest, ClosingGoesThroughTheCoreWhichWritesTheSettings) {
  window_->close();
  Settle();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(Form().IsClosed());
  const IniFile ini = IniFile::Load(Form().settings.SettingsPath);
  EXPECT_EQ(ini.ReadInteger("mirvane", "Width", 0), 545);
  EXPECT_EQ(ini.ReadInteger("Menu", "Ratio", -1), 2);
}

}  // namespace
}  // namespace mv::test
