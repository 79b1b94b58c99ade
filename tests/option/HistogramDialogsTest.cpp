// The three histogram dialogs driven through the program's binding: what they show, what each
// answers on OK and on cancel, the refused stretch, the markers dragged on the plot.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "option/OptionTestSupport.h"
#include "optionlib/option_abi.h"
#include "platform/DynamicLibrary.h"
#include "ui/QtTestSupport.h"

namespace mv {

void PrintTo(const HistogramRecord& r, std::ostream* out) {
  *out << '{' << r.low << ", " << r.high << ", " << r.channel << ", " << r.fourth << '}';
}

namespace {

using test::Click;
using test::Field;
using test::Load;
using test::NextDialog;

// A row of pixels of these red levels (green and blue 0).
Bitmap Reds(std::initializer_list<int> reds) {
  Bitmap b(static_cast<int>(reds.size()), 1);
  int x = 0;
  for (const int red : reds) b.Row(0)[3 * x++ + 2] = static_cast<uint8_t>(red);
  return b;
}

// The middle of a level's bar on the plot.
QPoint PointOfLevel(const QWidget& plot, int level) {
  const QRect area = plot.property("barArea").toRect();
  return {area.left() + (2 * level + 1) * area.width() / 512, area.center().y()};
}

QString Text(QWidget& dialog, const char* name) {
  return Field<QLabel>(dialog, name)->text();
}

void Choose(QWidget& dialog, const char* name) {
  Field<QRadioButton>(dialog, name)->click();
}

void SetBounds(QWidget& dialog, int low, int high) {
  Field<QSpinBox>(dialog, "high")->setValue(high);
  Field<QSpinBox>(dialog, "low")->setValue(low);
}

TEST(ShowHistgram, ShowsTheFiguresOfTheChosenChannelUntilClosed) {
  std::map<std::string, QString> luminance, red;
  QString title;
  const NextDialog driver([&](QWidget& dialog) {
    title = dialog.windowTitle();
    EXPECT_TRUE(Field<QRadioButton>(dialog, "showLuminance")->isChecked());
    EXPECT_EQ(dialog.findChild<QSpinBox*>("low"), nullptr);  // no range to choose here
    for (const char* name : {"pixels", "mean", "median", "deviation", "minimum", "maximum"})
      luminance[name] = Text(dialog, name);
    Choose(dialog, "showRed");
    Choose(dialog, "logarithmic");
    for (const char* name : {"pixels", "mean", "median", "deviation", "minimum", "maximum"})
      red[name] = Text(dialog, name);
    Click(dialog, "close");
  });
  Load()->ShowHistgram(Reds({10, 20, 20, 40}));
  EXPECT_TRUE(driver.Acted());
  EXPECT_EQ(title, "ヒストグラム");
  // Luminance levels 2, 5, 5 and 11, as the grey-scale command gives them.
  const std::map<std::string, QString> expectedLuminance = {{"pixels", "4"},  {"mean", "5.75"},
                                                            {"median", "5"},  {"deviation", "3.27"},
                                                            {"minimum", "2"}, {"maximum", "11"}};
  const std::map<std::string, QString> expectedRed = {{"pixels", "4"},   {"mean", "22.50"},
                                                      {"median", "20"},  {"deviation", "10.90"},
                                                      {"minimum", "10"}, {"maximum", "40"}};
  EXPECT_EQ(luminance, expectedLuminance);
  EXPECT_EQ(red, expectedRed);
}

TEST(GetHistgramHiLow, AnswersTheBoundsChannelAndOperationChosen) {
  bool showsGreen = false;
  const NextDialog driver([&](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "輝度の伸縮");
    SetBounds(dialog, 50, 200);
    Choose(dialog, "channelGreen");
    showsGreen = Field<QRadioButton>(dialog, "showGreen")->isChecked();
    Choose(dialog, "squeeze");
    Click(dialog, "ok");
  });
  EXPECT_EQ(Load()->GetHistgramHiLow(Reds({1, 2, 3})), (HistogramRecord{50, 200, 2, 1}));
  EXPECT_TRUE(showsGreen);  // the plot follows the channel to be changed
}

TEST(GetHistgramHiLow, OffersTheWholeRangeOnAllChannelsAndCancelAnswersMinusOne) {
  {
    const NextDialog driver([](QWidget& dialog) { Click(dialog, "ok"); });
    EXPECT_EQ(Load()->GetHistgramHiLow(Reds({1, 2, 3})), (HistogramRecord{0, 255, 0, 0}));
  }
  const NextDialog driver([](QWidget& dialog) {
    SetBounds(dialog, 10, 20);
    Click(dialog, "cancel");
  });
  EXPECT_EQ(Load()->GetHistgramHiLow(Reds({1, 2, 3})), (HistogramRecord{0, 0, -1, 0}));
}

TEST(GetHistgramHiLow, RefusesToStretchARangeOfOneLevel) {
  std::vector<std::pair<bool, bool>> okAndRefusal;
  std::vector<int> highs;
  const NextDialog driver([&](QWidget& dialog) {
    auto* ok = Field<QPushButton>(dialog, "ok");
    auto* refusal = Field<QLabel>(dialog, "refusal");
    const auto note = [&] { okAndRefusal.emplace_back(ok->isEnabled(), refusal->isVisible()); };
    note();
    SetBounds(dialog, 100, 100);
    note();
    Choose(dialog, "squeeze");  // squeezing into one level is fine
    note();
    Choose(dialog, "stretch");
    note();
    Field<QSpinBox>(dialog, "low")->setValue(120);  // the high bound is pushed along
    highs.push_back(Field<QSpinBox>(dialog, "high")->value());
    Field<QSpinBox>(dialog, "high")->setValue(130);
    note();
    Click(dialog, "ok");
  });
  EXPECT_EQ(Load()->GetHistgramHiLow(Reds({7})), (HistogramRecord{120, 130, 0, 0}));
  const std::vector<std::pair<bool, bool>> expected = {
      {true, false}, {false, true}, {true, false}, {false, true}, {true, false}};
  EXPECT_EQ(okAndRefusal, expected);
  EXPECT_EQ(highs, std::vector<int>{120});
}

TEST(GetHistgramHiLow, TheMarkersAreDraggedOnThePlot) {
  std::vector<std::pair<int, int>> bounds;
  const NextDialog driver([&](QWidget& dialog) {
    QWidget* plot = Field<QWidget>(dialog, "plot");
    const auto note = [&] {
      bounds.emplace_back(Field<QSpinBox>(dialog, "low")->value(), Field<QSpinBox>(dialog, "high")->value());
    };
    // Pressed nearer the low marker, it jumps there and follows the pointer.
    QTest::mousePress(plot, Qt::LeftButton, {}, PointOfLevel(*plot, 30));
    note();
    QTest::mouseMove(plot, PointOfLevel(*plot, 60));
    QTest::mouseRelease(plot, Qt::LeftButton, {}, PointOfLevel(*plot, 60));
    note();
    // Then the high one; dragged below the low one, it stops there.
    QTest::mousePress(plot, Qt::LeftButton, {}, PointOfLevel(*plot, 240));
    QTest::mouseMove(plot, PointOfLevel(*plot, 10));
    QTest::mouseRelease(plot, Qt::LeftButton, {}, PointOfLevel(*plot, 10));
    note();
    QTest::mousePress(plot, Qt::LeftButton, {}, PointOfLevel(*plot, 180));
    QTest::mouseRelease(plot, Qt::LeftButton, {}, PointOfLevel(*plot, 180));
    note();
    Choose(dialog, "squeeze");
    Click(dialog, "ok");
  });
  EXPECT_EQ(Load()->GetHistgramHiLow(Reds({1, 2, 3})), (HistogramRecord{60, 180, 0, 1}));
  const std::vector<std::pair<int, int>> expected = {{30, 255}, {60, 255}, {60, 60}, {60, 180}};
  EXPECT_EQ(bounds, expected);
}

TEST(GetHistgramRange, AnswersTheBoundsTestAndFill) {
  const NextDialog driver([&](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "指定範囲の画素を表示");
    EXPECT_TRUE(Field<QRadioButton>(dialog, "testMean")->isChecked());
    EXPECT_TRUE(Field<QRadioButton>(dialog, "fillBlack")->isChecked());
    SetBounds(dialog, 100, 150);
    Choose(dialog, "testGreen");
    Choose(dialog, "fillWhite");
    Click(dialog, "ok");
  });
  EXPECT_EQ(Load()->GetHistgramRange(Reds({5, 6})), (HistogramRecord{100, 150, 2, 1}));
  const NextDialog cancel([](QWidget& dialog) { Click(dialog, "cancel"); });
  EXPECT_EQ(Load()->GetHistgramRange(Reds({5, 6})), (HistogramRecord{0, 0, -1, 0}));
}

TEST(HistogramDialogs, OnePixelUniformAndPaletteImagesWork) {
  // An 8-bit image of one pixel crosses as 24 bits; fitting the range to it gives one level.
  Bitmap one(1, 1, PixelFormat::Indexed8);
  one.SetPalette({PaletteEntry{0, 0, 0, 0}, PaletteEntry{90, 100, 110, 0}});
  one.SetIndexAt(0, 0, 1);
  QString pixels, inRange;
  bool okAfterFit = true;
  const NextDialog driver([&](QWidget& dialog) {
    Choose(dialog, "showRed");
    Click(dialog, "fitRange");
    okAfterFit = Field<QPushButton>(dialog, "ok")->isEnabled();
    pixels = Text(dialog, "pixels");
    inRange = Text(dialog, "inRange");
    Choose(dialog, "squeeze");
    Click(dialog, "ok");
  });
  EXPECT_EQ(Load()->GetHistgramHiLow(one), (HistogramRecord{110, 110, 0, 1}));
  EXPECT_FALSE(okAfterFit);
  EXPECT_EQ(pixels, "1");
  EXPECT_EQ(inRange, "範囲内（赤）: 1 画素 (100.0 %)");

  Bitmap uniform(300, 200);
  for (int y = 0; y < 200; ++y) std::fill_n(uniform.Row(y), 900, uint8_t{77});
  QString median;
  const NextDialog view([&](QWidget& dialog) {
    Choose(dialog, "logarithmic");
    median = Text(dialog, "median");
    Click(dialog, "close");
  });
  Load()->ShowHistgram(uniform);
  EXPECT_EQ(median, "76");  // the luminance of grey 77 (the weights add up to 0.999993)
}

TEST(HistogramDialogs, AnImageThatCannotBeReadIsAnErrorWithoutADialog) {
  const DynamicLibrary library(std::string(OPTION_FOLDER) + "/option.so", true);
  auto* hiLow = library.Function<MvGetHistgramHiLow>("GetHistgramHiLow");
  auto* range = library.Function<MvGetHistgramRange>("GetHistgramRange");
  auto* view = library.Function<MvShowHistgram>("ShowHistgram");
  ASSERT_TRUE(hiLow && range && view);
  const uint8_t pixels[12] = {};
  const MvImageView bad[] = {{0, 1, 3, pixels}, {2, 1, 5, pixels}, {1, 1, 3, nullptr}, {-1, 2, 3, pixels}};
  const NextDialog driver([](QWidget& dialog) { Click(dialog, "cancel"); });
  for (const MvImageView& image : bad) {
    MvHistogramRecord record{1, 2, 3, 4};
    hiLow(&record, &image);
    EXPECT_EQ(record.channel, -2);
    record = {1, 2, 3, 4};
    range(&record, &image);
    EXPECT_EQ(record.channel, -2);
    EXPECT_EQ(record.low, 0);
    view(&image);
  }
  MvHistogramRecord record{};
  hiLow(&record, nullptr);
  EXPECT_EQ(record.channel, -2);
  hiLow(nullptr, &bad[0]);
  QTest::qWait(50);
  EXPECT_FALSE(driver.Acted());
}

}  // namespace
}  // namespace mv
