// The option-and-preview dialog and the RGB dialog as widgets over their models.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <random>

#include "filtering/RecordingFeedback.h"
#include "optiondialog/TPNGOpt.h"
#include "optiondialog/TRGBRes.h"
#include "ui/OptionDialog.h"
#include "ui/QtTestSupport.h"
#include "ui/RgbDialog.h"
#include "ui/WindowFixture.h"

namespace mv::test {
namespace {

Bitmap Picture(int width, int height) {
  std::mt19937 random(5);
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int i = 0; i < 3 * width; ++i) picture.Row(y)[i] = static_cast<uint8_t>(random());
  return picture;
}

QString LabelText(QWidget& dialog, const char* name) {
  auto* label = dialog.findChild<QLabel*>(name);
  return label != nullptr ? label->text() : QString("(none)");
}

struct ShownOption {
  RecordingFeedback feedback;
  TPNGOpt model;
  OptionDialog dialog;
  explicit ShownOption(int mode, Bitmap thumbnail = Picture(188, 94))
      : model(mode, std::move(thumbnail), OptionDialogServices{&feedback, {}, {}, {}}),
        dialog((model.FormShow(), model), nullptr) {}
};

TEST(OptionDialogWidget, IsLaidOutAsTheModesRowSays) {
  ShownOption binarization(8);
  QDialog& dialog = binarization.dialog;
  EXPECT_EQ(dialog.windowTitle(), "2値化のしきい値の指定");
  EXPECT_EQ(dialog.size(), QSize(398, 288));
  EXPECT_EQ(dialog.findChild<QWidget*>("Image1")->size(), QSize(210, 210));
  EXPECT_EQ(LabelText(dialog, "Label3"), "しきい値");
  EXPECT_EQ(LabelText(dialog, "Label4"), QString::number(binarization.model.TrackBar1.position));
  EXPECT_EQ(LabelText(dialog, "Label6"), "白っぽい");
  EXPECT_EQ(LabelText(dialog, "Label7"), "黒っぽい");
  EXPECT_EQ(dialog.findChild<QSlider*>("TrackBar2"), nullptr);
  auto* group = dialog.findChild<QGroupBox*>("RadioGroup2");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), "白黒の判別に使う輝度");
  EXPECT_EQ(group->findChildren<QRadioButton*>().size(), 3);
  EXPECT_EQ(dialog.findChild<QGroupBox*>("RadioGroup1"), nullptr);
  EXPECT_EQ(dialog.findChild<QPushButton*>("BitBtn3")->text(), "ヘルプ");

  ShownOption edges(11);
  EXPECT_EQ(edges.dialog.size(), QSize(398, 350));
  EXPECT_EQ(edges.dialog.findChild<QSlider*>("TrackBar1"), nullptr);
  EXPECT_EQ(edges.dialog.findChild<QGroupBox*>("RadioGroup1")->findChildren<QRadioButton*>().size(), 10);
  // Every control lies inside the dialog.
  for (QWidget* child : edges.dialog.findChildren<QWidget*>()) {
    if (child->parentWidget() == &edges.dialog) {
      EXPECT_TRUE(edges.dialog.rect().contains(child->geometry())) << child->objectName().toStdString();
    }
  }

  ShownOption png(1);
  EXPECT_EQ(png.dialog.findChild<QLineEdit*>("Edit3")->text(), "0");
  EXPECT_EQ(png.dialog.findChild<QPushButton*>("Panel1")->text(), "無し");
}

TEST(OptionDialogWidget, ASliderUpdatesItsReadOutAtOnceAndThePreviewOnceTheEventsAreHandled) {
  ShownOption gamma(2);
  auto* slider = gamma.dialog.findChild<QSlider*>("TrackBar1");
  const Bitmap before = gamma.model.Image1();
  for (int position : {110, 130, 150}) slider->setValue(position);
  EXPECT_EQ(LabelText(gamma.dialog, "Label4"), "1.5");
  EXPECT_TRUE(gamma.model.PreviewStale());
  QApplication::processEvents();
  EXPECT_FALSE(gamma.model.PreviewStale());
  EXPECT_FALSE(gamma.model.Image1() == before);
  EXPECT_EQ(gamma.model.TrackBar1.position, 150);
}

TEST(OptionDialogWidget, OkChecksTheGammaAndCancelRejects) {
  ShownOption png(1);
  png.dialog.findChild<QLineEdit*>("Edit3")->setText("abc");
  png.dialog.findChild<QPushButton*>("BitBtn1")->click();
  EXPECT_EQ(png.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(png.model.Tag(), -1);
  ASSERT_EQ(png.feedback.record.boxes.size(), 1u);

  ShownOption gamma(2);
  gamma.dialog.findChild<QPushButton*>("BitBtn2")->click();
  EXPECT_EQ(gamma.dialog.result(), QDialog::Rejected);
}

TEST(OptionDialogWidget, ThePanelsPopupChoosesPickMode) {
  ShownOption gif(0);
  const NextDialog driver([](QWidget& popup) {
    auto* menu = qobject_cast<QMenu*>(&popup);
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
      if (action->objectName() == "N2") menu->setActiveAction(action);
    }
    QTest::keyClick(menu, Qt::Key_Return);
  });
  gif.dialog.findChild<QPushButton*>("Panel1")->click();
  EXPECT_TRUE(driver.Acted());
  EXPECT_TRUE(gif.model.PickMode());
  EXPECT_EQ(gif.dialog.findChild<QPushButton*>("Panel1")->text(), "指定");
}

TEST(RgbDialogWidget, ShowsFourPicturesAndTheOffsets) {
  RecordingFeedback feedback;
  TRGBRes model(Picture(148, 100), feedback);
  model.FormShow();
  RgbDialog dialog(model, nullptr);
  EXPECT_EQ(dialog.windowTitle(), "RGB分解と調整");
  EXPECT_EQ(dialog.size(), QSize(510, 408));
  EXPECT_EQ(LabelText(dialog, "Label2"), "Ｒ");
  EXPECT_EQ(LabelText(dialog, "Label7"), "ＲGBのオフセット");
  EXPECT_EQ(LabelText(dialog, "Label8"), "0");
  auto* red = dialog.findChild<QSlider*>("TrackBar1");
  EXPECT_EQ(red->minimum(), -255);
  EXPECT_EQ(red->maximum(), 255);
  red->setValue(255);
  EXPECT_EQ(LabelText(dialog, "Label8"), "255");
  EXPECT_EQ(model.Image(2).ColorAt(3, 3), MakeColor(255, 0, 0));
  for (QWidget* child : dialog.findChildren<QWidget*>()) {
    if (child->parentWidget() == &dialog) {
      EXPECT_TRUE(dialog.rect().contains(child->geometry())) << child->objectName().toStdString();
    }
  }
}

}  // namespace
}  // namespace mv::test

namespace mv::test {
namespace {

TEST_F(WindowTest, TheColourMenuIsInTheMenuBar) {
  auto* menu = window_->findChild<QMenu*>("N35");
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->menuAction()->isVisible());
  EXPECT_EQ(menu->title(), "色彩変更(&C)");
  EXPECT_EQ(menu->actions().size(), 12);  // eleven commands and the histogram submenu
  auto* histogram = window_->findChild<QMenu*>("H2");
  ASSERT_NE(histogram, nullptr);
  EXPECT_EQ(histogram->title(), "ヒストグラム(&H)");
  EXPECT_EQ(histogram->actions().size(), 3);
}

}  // namespace
}  // namespace mv::test
