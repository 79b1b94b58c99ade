// The window at a device pixel ratio of 2 (offscreen, QT_SCALE_FACTOR=2): the image area counts the
// screen's pixels, so 100 % shows one picture pixel per screen pixel, the mouse reaches the core in
// those pixels and the overlay is drawn one screen pixel wide.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "ui/ImageAreaWidget.h"
#include "ui/WindowFixture.h"

namespace mv::test {
namespace {

QRgb Inverted(QRgb colour) {
  return qRgb(255 - qRed(colour), 255 - qGreen(colour), 255 - qBlue(colour));
}

void MouseAt(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButton button) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
  Settle();
}

TEST_F(WindowTest, AtARatioOfTwoTheImageAreaCountsTheScreensPixels) {
  Load(WritePicture(folder_, "picture.png", 600, 400));
  QWidget* viewport = Child<ImageAreaWidget>("scb1")->viewport();
  ASSERT_EQ(viewport->devicePixelRatioF(), 2.0);
  EXPECT_EQ(Form().ImageAreaSize(), (Size{viewport->width() * 2, viewport->height() * 2}));
  EXPECT_EQ(Form().view.im1, (Size{600, 400}));

  // 100 %: neighbouring screen pixels show neighbouring picture pixels.
  const QImage picture = TestPicture(600, 400);
  const QImage shown = viewport->grab().toImage();
  ASSERT_EQ(shown.width(), viewport->width() * 2);
  for (const int x : {0, 1, 2, 3, 17, 301}) EXPECT_EQ(shown.pixel(x, 5), picture.pixel(x, 5)) << x;

  // Qt's half pixels are the screen's whole ones.
  MouseAt(*viewport, QEvent::MouseMove, QPointF(10.5, 20), Qt::NoButton);
  EXPECT_EQ(Form().controls.sb1[3].text, "21,40");

  // A selection from screen pixel (20, 20) to (60, 40): its outline is one screen pixel wide.
  MouseAt(*viewport, QEvent::MouseButtonPress, QPointF(10, 10), Qt::LeftButton);
  MouseAt(*viewport, QEvent::MouseMove, QPointF(30, 20), Qt::NoButton);
  MouseAt(*viewport, QEvent::MouseButtonRelease, QPointF(30, 20), Qt::LeftButton);
  EXPECT_EQ(Form().selection.SelectionStart, (Point{20, 20}));
  EXPECT_EQ(Form().selection.SelectionEnd, (Point{60, 40}));
  const QImage outlined = viewport->grab().toImage();
  EXPECT_EQ(outlined.pixel(30, 20), Inverted(shown.pixel(30, 20)));
  EXPECT_EQ(outlined.pixel(30, 21), shown.pixel(30, 21));
  EXPECT_EQ(outlined.pixel(30, 19), shown.pixel(30, 19));
}

}  // namespace
}  // namespace mv::test

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
