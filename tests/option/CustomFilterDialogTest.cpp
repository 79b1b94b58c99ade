// The custom-filter dialog driven through the program's binding: the record it fills in, the name
// file it leaves in the program folder, the values it offers, the preview, the zero divisor.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "option/OptionTestSupport.h"
#include "optionlib/option_abi.h"
#include "platform/DynamicLibrary.h"
#include "ui/QtTestSupport.h"

namespace mv {
namespace {

using test::Click;
using test::Field;
using test::NextDialog;
using test::ProgramFolderCopy;
using test::ReadFile;

constexpr uint32_t kSrcCopy = 0x00CC0020, kSrcInvert = 0x00660046, kBlackness = 0x42;

void ChooseItem(QComboBox& box, const QString& startingWith) {
  for (int i = 0; i < box.count(); ++i) {
    if (box.itemText(i).startsWith(startingWith)) {
      box.setCurrentIndex(i);
      emit box.activated(i);
      return;
    }
  }
  ADD_FAILURE() << "no item " << startingWith.toStdString();
}

std::array<int32_t, 9> Weights(QWidget& dialog) {
  std::array<int32_t, 9> weights{};
  for (int i = 0; i < 9; ++i)
    weights[static_cast<std::size_t>(i)] = Field<QSpinBox>(dialog, QString("w%1").arg(i).toUtf8())->value();
  return weights;
}

class ShowCustomFilter : public ::testing::Test {
 protected:
  std::filesystem::path NameFile() const { return program_.Path() / "~filter.tmp"; }
  ProgramFolderCopy program_;
};

TEST_F(ShowCustomFilter, OkFillsInTheRecordAndLeavesTheNameForTheProgram) {
  std::vector<QString> copyModes;
  const NextDialog driver([&](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "カスタムフィルタ");
    auto* copyMode = Field<QComboBox>(dialog, "copyMode");
    for (int i = 0; i < copyMode->count(); ++i) copyModes.push_back(copyMode->itemText(i));
    ChooseItem(*Field<QComboBox>(dialog, "preset"), "シャープ");
    ChooseItem(*copyMode, "SRCINVERT");
    Field<QRadioButton>(dialog, "prepareBlack")->click();
    Field<QLineEdit>(dialog, "name")->setText("輪郭を立てる");
    Click(dialog, "ok");
  });
  CustomFilterRecord record;
  program_.Load()->ShowCustomFilter(record);
  EXPECT_TRUE(record.accepted);
  EXPECT_EQ(record.weights, (std::array<int32_t, 9>{0, -1, 0, -1, 5, -1, 0, -1, 0}));
  EXPECT_EQ(record.divisor, 1.0);
  EXPECT_EQ(record.offset, 0);
  EXPECT_EQ(record.copyMode, kSrcInvert);
  EXPECT_EQ(record.preparation, 2);
  EXPECT_EQ(ReadFile(NameFile()), "輪郭を立てる\r\n");
  ASSERT_GE(copyModes.size(), 15u);
  EXPECT_EQ(copyModes[0], "SRCCOPY — 結果をそのまま描く ($00CC0020)");
}

TEST_F(ShowCustomFilter, CancelLeavesTheRecordAsGivenAndWritesNoName) {
  const NextDialog driver([](QWidget& dialog) {
    Field<QSpinBox>(dialog, "w0")->setValue(5);
    Field<QLineEdit>(dialog, "name")->setText("x");
    Click(dialog, "cancel");
  });
  CustomFilterRecord record;
  program_.Load()->ShowCustomFilter(record);
  EXPECT_FALSE(record.accepted);
  EXPECT_EQ(record.weights, (std::array<int32_t, 9>{}));
  EXPECT_EQ(record.copyMode, kBlackness);
  EXPECT_FALSE(std::filesystem::exists(NameFile()));
}

TEST_F(ShowCustomFilter, OffersTheIdentityUntilTheRecordHoldsAKernel) {
  std::vector<std::array<int32_t, 9>> offered;
  std::vector<QString> modes, names;
  std::vector<double> divisors;
  const NextDialog first([&](QWidget& dialog) {
    offered.push_back(Weights(dialog));
    modes.push_back(Field<QComboBox>(dialog, "copyMode")->currentText());
    divisors.push_back(Field<QDoubleSpinBox>(dialog, "divisor")->value());
    Click(dialog, "ok");
  });
  CustomFilterRecord record;  // the program's values before the call: zeros, 1.0, 0x42
  program_.Load()->ShowCustomFilter(record);
  EXPECT_EQ(record.weights, (std::array<int32_t, 9>{0, 0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(record.copyMode, kSrcCopy);
  // With no name given the name file's first line is empty: the program's default caption.
  EXPECT_EQ(ReadFile(NameFile()), "\r\n");

  record.weights = {1, 2, 1, 2, 4, 2, 1, 2, 1};
  record.divisor = 16;
  record.offset = -3;
  record.copyMode = 0x00123456;  // a code without a name is offered as it is
  record.preparation = 1;
  bool white = false;
  const NextDialog second([&](QWidget& dialog) {
    offered.push_back(Weights(dialog));
    modes.push_back(Field<QComboBox>(dialog, "copyMode")->currentText());
    divisors.push_back(Field<QDoubleSpinBox>(dialog, "divisor")->value());
    white = Field<QRadioButton>(dialog, "prepareWhite")->isChecked();
    Click(dialog, "ok");
  });
  program_.Load()->ShowCustomFilter(record);
  EXPECT_EQ(offered[0], (std::array<int32_t, 9>{0, 0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(offered[1], (std::array<int32_t, 9>{1, 2, 1, 2, 4, 2, 1, 2, 1}));
  EXPECT_EQ(modes, (std::vector<QString>{"SRCCOPY — 結果をそのまま描く ($00CC0020)", "その他 ($00123456)"}));
  EXPECT_EQ(divisors, (std::vector<double>{1, 16}));
  EXPECT_TRUE(white);
  EXPECT_EQ(record.copyMode, 0x00123456u);
  EXPECT_EQ(record.offset, -3);
}

TEST_F(ShowCustomFilter, AZeroDivisorIsLetThroughAndThePreviewSaysWhy) {
  bool okEnabled = false;
  QString previewText;
  qint64 before = 0, changed = 0;
  const NextDialog driver([&](QWidget& dialog) {
    auto* preview = Field<QLabel>(dialog, "resultPreview");
    before = preview->pixmap().cacheKey();
    Field<QSpinBox>(dialog, "w4")->setValue(3);  // the preview follows the kernel
    changed = preview->pixmap().cacheKey();
    Field<QDoubleSpinBox>(dialog, "divisor")->setValue(0);
    okEnabled = Field<QPushButton>(dialog, "ok")->isEnabled();
    previewText = preview->text();
    Click(dialog, "ok");
  });
  CustomFilterRecord record;
  program_.Load()->ShowCustomFilter(record);
  EXPECT_NE(before, changed);
  EXPECT_TRUE(okEnabled);
  EXPECT_TRUE(previewText.startsWith("除数が 0 です")) << previewText.toStdString();
  EXPECT_TRUE(record.accepted);
  EXPECT_EQ(record.divisor, 0.0);
}

TEST_F(ShowCustomFilter, PresetsSetTheKernelAndANameTheUserHasNotGiven) {
  std::vector<QString> names;
  std::array<int32_t, 9> emboss{};
  double divisor = 0;
  int offset = 0;
  const NextDialog driver([&](QWidget& dialog) {
    auto* presets = Field<QComboBox>(dialog, "preset");
    auto* name = Field<QLineEdit>(dialog, "name");
    ChooseItem(*presets, "平均");
    names.push_back(name->text());
    divisor = Field<QDoubleSpinBox>(dialog, "divisor")->value();
    ChooseItem(*presets, "エンボス");
    names.push_back(name->text());
    emboss = Weights(dialog);
    offset = Field<QSpinBox>(dialog, "offset")->value();
    name->setText("mine");
    ChooseItem(*presets, "ラプラシアン");
    names.push_back(name->text());
    Field<QSpinBox>(dialog, "w0")->setValue(-2);  // an edited kernel is no preset any more
    names.push_back(presets->currentText());
    Field<QPushButton>(dialog, "divisorFromSum")->click();
    Click(dialog, "ok");
  });
  CustomFilterRecord record;
  program_.Load()->ShowCustomFilter(record);
  EXPECT_EQ(divisor, 9.0);
  EXPECT_EQ(emboss, (std::array<int32_t, 9>{-1, -1, 0, -1, 0, 1, 0, 1, 1}));
  EXPECT_EQ(offset, 128);
  EXPECT_EQ(names, (std::vector<QString>{"平均（ぼかし）", "エンボス", "mine", "（選択してください）"}));
  EXPECT_EQ(record.divisor, -1.0);  // the weights' sum
  EXPECT_EQ(ReadFile(NameFile()), "mine\r\n");
}

TEST_F(ShowCustomFilter, ARecordItCannotFillIsLeftAloneWithoutADialog) {
  const DynamicLibrary library((program_.Path() / "option.so").string(), true);
  auto* show = library.Function<MvShowCustomFilter>("ShowCustomFilter");
  ASSERT_NE(show, nullptr);
  const NextDialog driver([](QWidget& dialog) { Click(dialog, "cancel"); });
  int32_t shortArray[2 + 4] = {1, 4, 0, 0, 0, 0};
  TMaskArrayEx record{};
  record.weights = shortArray + 2;
  record.divisor = 1;
  show(&record);
  show(nullptr);
  record.weights = nullptr;
  show(&record);
  QTest::qWait(50);
  EXPECT_FALSE(driver.Acted());
  EXPECT_EQ(record.accepted, 0);
}

}  // namespace
}  // namespace mv
