// The Qt desktop's parts: message boxes, the progress dialog over its model, clipboard pictures,
// file-dialog filters and key names.

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>

#include "shell/TForm3.h"
#include "ui/ClipboardImages.h"
#include "ui/FileDialogs.h"
#include "ui/KeyText.h"
#include "ui/MessageBoxes.h"
#include "ui/ProgressWindow.h"
#include "ui/QtTestSupport.h"
#include "ui/WindowFixture.h"

namespace mv::test {
namespace {

struct ShownBox {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString text;
  QStringList buttons;
};

// Shows a box, reads it and leaves it with `act`.
BoxButton RunBox(BoxKind kind, BoxButtons buttons, ShownBox& shown,
                 const std::function<void(QMessageBox&)>& act) {
  const NextDialog driver([&](QWidget& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    shown.icon = box.icon();
    shown.text = box.text();
    for (QAbstractButton* button : box.buttons()) shown.buttons << button->text();
    act(box);
  });
  return RunMessageBox(nullptr, kind, "\r\n画像を保存しますか？", buttons, {});
}

TEST(MessageBoxes, ShowTheKindsIconTheButtonsAndAnswerTheOneChosen) {
  ShownBox shown;
  const BoxButton answer = RunBox(BoxKind::Confirmation, kYes | kNo | kCancel, shown, [](QMessageBox& box) {
    for (QAbstractButton* button : box.buttons()) {
      if (button->text() == "いいえ(&N)") button->click();
    }
  });
  EXPECT_EQ(answer, kNo);
  EXPECT_EQ(shown.icon, QMessageBox::Question);
  EXPECT_EQ(shown.text, "\n画像を保存しますか？");
  shown.buttons.sort();
  EXPECT_EQ(shown.buttons, QStringList({"いいえ(&N)", "はい(&Y)", "キャンセル"}));

  // Esc answers Cancel where there is one, else OK.
  const auto escape = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); };
  EXPECT_EQ(RunBox(BoxKind::Confirmation, kYes | kNo | kCancel, shown, escape), kCancel);
  EXPECT_EQ(RunBox(BoxKind::Confirmation, kOK | kCancel, shown, escape), kCancel);
  EXPECT_EQ(RunBox(BoxKind::Error, kOK, shown, escape), kOK);
  EXPECT_EQ(shown.icon, QMessageBox::Critical);
  RunBox(BoxKind::Plain, kOK, shown, escape);
  EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
}

TEST(MessageBoxes, HelpOpensHelpAndKeepsTheBoxOpen) {
  int helped = 0;
  int shown = 0;
  const NextDialog driver([&](QWidget& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    ++shown;
    box.button(QMessageBox::Help)->click();
    // The box comes back after help; then OK.
    QTimer::singleShot(50, [] {
      if (auto* again = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        again->button(QMessageBox::Ok)->click();
    });
  });
  EXPECT_EQ(RunMessageBox(nullptr, BoxKind::Error, "text", kOK | kHelp, [&] { ++helped; }), kOK);
  EXPECT_EQ(helped, 1);
  EXPECT_EQ(shown, 1);
}

TEST_F(WindowTest, TheProgressDialogShowsItsModelAndCancelHidesIt) {
  int openDialogs = 0;
  TForm3 model(Form().desktop, openDialogs);
  model.Start("縮小/拡大画像作成中", 10);
  model.StepIt();
  model.StepIt();
  Settle();
  auto* progress = window_->findChild<ProgressWindow*>("TForm3");
  ASSERT_NE(progress, nullptr);
  EXPECT_TRUE(progress->isVisible());
  EXPECT_FALSE(progress->isModal());
  EXPECT_TRUE(progress->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(progress->windowTitle(), "縮小/拡大画像作成中");
  EXPECT_EQ(progress->size(), QSize(234, 79));
  auto* bar = progress->findChild<QProgressBar*>("ProgressBar1");
  EXPECT_EQ(bar->geometry(), QRect(8, 16, 217, 25));
  EXPECT_EQ(bar->maximum(), 10);
  EXPECT_EQ(bar->value(), 2);
  auto* cancel = progress->findChild<QPushButton*>("BitBtn1");
  EXPECT_EQ(cancel->geometry(), QRect(72, 48, 89, 25));
  EXPECT_EQ(cancel->text(), "キャンセル");

  QTest::mouseClick(cancel, Qt::LeftButton);
  Settle();
  EXPECT_FALSE(model.IsVisible());
  EXPECT_EQ(window_->findChild<ProgressWindow*>("TForm3"), nullptr);  // gone once hidden
}

TEST_F(WindowTest, EscAndTheCloseBoxCancelTheProgressDialogToo) {
  for (const bool useEscape : {true, false}) {
    int openDialogs = 0;
    TForm3 model(Form().desktop, openDialogs);
    model.Start("進捗状況", 5);
    Settle();
    auto* progress = window_->findChild<ProgressWindow*>("TForm3");
    ASSERT_NE(progress, nullptr);
    if (useEscape)
      QTest::keyClick(progress, Qt::Key_Escape);
    else
      progress->close();
    Settle();
    EXPECT_FALSE(model.IsVisible()) << useEscape;
  }
}

TEST(ClipboardImages, BitmapsCrossAs24BitPixelsInPlace) {
  Bitmap bitmap(5, 3, PixelFormat::Bgr24);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) bitmap.SetColorAt(x, y, MakeColor(x * 50, y * 100, 7));
  const QImage image = ToQImage(bitmap);
  EXPECT_EQ(image.size(), QSize(5, 3));
  EXPECT_EQ(image.pixel(4, 1), qRgb(200, 100, 7));
  const Bitmap back = FromQImage(image);
  EXPECT_EQ(back.Format(), PixelFormat::Bgr24);
  EXPECT_EQ(back.ColorAt(4, 1), MakeColor(200, 100, 7));
  EXPECT_EQ(back.ColorAt(0, 2), MakeColor(0, 200, 7));

  Bitmap indexed(2, 1, PixelFormat::Indexed8);
  indexed.SetPalette({PaletteEntry{1, 2, 3, 0}, PaletteEntry{40, 50, 60, 0}});
  indexed.Row(0)[1] = 1;
  const QImage fromIndexed = ToQImage(indexed);
  EXPECT_EQ(fromIndexed.pixel(0, 0), ToQImage(indexed.ToBgr24()).pixel(0, 0));
  EXPECT_EQ(fromIndexed.pixel(1, 0), ToQImage(indexed.ToBgr24()).pixel(1, 0));

  // What is not opaque lies on white.
  QImage translucent(2, 1, QImage::Format_ARGB32);
  translucent.setPixel(0, 0, qRgba(0, 0, 0, 0));
  translucent.setPixel(1, 0, qRgba(255, 0, 0, 255));
  const Bitmap composed = FromQImage(translucent);
  EXPECT_EQ(composed.ColorAt(0, 0), MakeColor(255, 255, 255));
  EXPECT_EQ(composed.ColorAt(1, 0), MakeColor(255, 0, 0));
}

TEST(ClipboardImages, AnSvgDrawingIsRenderedAtItsNaturalSizeOnWhite) {
  const QByteArray svg =
      "<svg xmlns='http://www.w3.org/2000/svg' width='30' height='20'>"
      "<rect x='20' y='0' width='10' height='10' fill='#0000ff'/></svg>";
  const std::optional<Bitmap> drawn = RenderSvg(svg);
  ASSERT_TRUE(drawn);
  EXPECT_EQ(drawn->Width(), 30);
  EXPECT_EQ(drawn->Height(), 20);
  EXPECT_EQ(drawn->ColorAt(25, 5), MakeColor(0, 0, 255));
  EXPECT_EQ(drawn->ColorAt(5, 15), MakeColor(255, 255, 255));
  EXPECT_FALSE(RenderSvg("not a drawing"));
  EXPECT_FALSE(RenderSvg("<svg xmlns='http://www.w3.org/2000/svg' width='0' height='0'/>"));
  // A drawing larger than any picture the program opens is refused rather than allocated.
  EXPECT_FALSE(RenderSvg("<svg xmlns='http://www.w3.org/2000/svg' width='100000' height='100000'/>"));
}

TEST_F(WindowTest, TheClipboardHoldsBitmapsAndSvgDrawings) {
  Desktop& desktop = Form().desktop;
  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(desktop.ClipboardBitmap());
  EXPECT_FALSE(desktop.ClipboardMetafile());

  Bitmap bitmap(3, 2, PixelFormat::Bgr24);
  bitmap.SetColorAt(2, 1, MakeColor(9, 8, 7));
  desktop.SetClipboardBitmap(bitmap);
  const std::optional<Bitmap> pasted = desktop.ClipboardBitmap();
  ASSERT_TRUE(pasted);
  EXPECT_EQ(pasted->Width(), 3);
  EXPECT_EQ(pasted->ColorAt(2, 1), MakeColor(9, 8, 7));
  EXPECT_FALSE(desktop.ClipboardMetafile());

  auto* data = new QMimeData;
  data->setData("image/svg+xml", "<svg xmlns='http://www.w3.org/2000/svg' width='12' height='7'/>");
  QGuiApplication::clipboard()->setMimeData(data);
  EXPECT_FALSE(desktop.ClipboardBitmap());
  const std::optional<Bitmap> drawing = desktop.ClipboardMetafile();
  ASSERT_TRUE(drawing);
  EXPECT_EQ(drawing->Width(), 12);
  EXPECT_EQ(drawing->Height(), 7);
}

TEST(FileDialogs, FiltersAreTranslatedToQtNameFilters) {
  EXPECT_EQ(
      QtNameFilters("JPG, ビットマップ, GIF, PNGファイル|*.jpg;*.bmp;*.gif;*.png;|全てのファイル (*.*)|*.*"),
      QStringList({"JPG, ビットマップ, GIF, PNGファイル (*.jpg *.bmp *.gif *.png)", "全てのファイル (*)"}));
  EXPECT_EQ(QtNameFilters("ログ (*.txt)|*.txt|CSV|*.csv; *.CSV"),
            QStringList({"ログ (*.txt)", "CSV (*.csv *.CSV)"}));
  EXPECT_EQ(QtNameFilters("Any|"), QStringList({"Any (*)"}));
  EXPECT_EQ(QtNameFilters(""), QStringList());
  EXPECT_EQ(QtNameFilters("odd"), QStringList());
}

TEST(KeyText, NamesKeysAsTheCoreDoes) {
  const auto name = [](int key, Qt::KeyboardModifiers modifiers) {
    const QKeyEvent event(QEvent::KeyPress, key, modifiers);
    return KeyText(event);
  };
  EXPECT_EQ(name(Qt::Key_O, Qt::ControlModifier), "Ctrl+O");
  EXPECT_EQ(name(Qt::Key_Right, Qt::NoModifier), "Right");
  EXPECT_EQ(name(Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier), "Ctrl+Shift+Alt+F1");
  EXPECT_EQ(name(Qt::Key_Control, Qt::ControlModifier), "");
  EXPECT_EQ(NormalizeShortcut(name(Qt::Key_Z, Qt::ControlModifier)), "Ctrl+Z");
}

}  // namespace
}  // namespace mv::test
