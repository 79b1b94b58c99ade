// option.so loaded from the build folder through the program's binding; every dialog is accepted and
// cancelled by a driver acting inside its event loop.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "option/OptionTestSupport.h"
#include "optionlib/DynamicOptionLibrary.h"
#include "optionlib/option_abi.h"
#include "platform/DynamicLibrary.h"
#include "platform/IniFile.h"
#include "ui/QtTestSupport.h"

namespace mv {
namespace {

using test::Click;
using test::Field;
using test::Load;
using test::NextDialog;
using test::ReadFile;
using test::TempFolder;

TEST(OptionLibrary, ExportsItsDialogsAndNothingElse) {
  const DynamicLibrary library(std::string(OPTION_FOLDER) + "/option.so", true);
  ASSERT_TRUE(library.IsLoaded()) << library.Error();
  for (const char* name :
       {"ShowSetting", "ShowVersion", "DirectZoomRatio", "GetLengthAndUnit", "GetPointAndSize",
        "CompressDialog", "CompressDialogFor", "GetAlphaBlendVal", "TransBackColor", "ShowCustomFilter",
        "ShowHistgram", "GetHistgramHiLow", "GetHistgramRange"})
    EXPECT_NE(library.Symbol(name), nullptr) << name;
  // Neither the library's own code nor the core's it is built with.
  for (const char* name :
       {"_ZN2mv12EditSettingsERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE",
        "_ZN2mv13CountChannelsERK11MvImageViewi", "_ZN2mv11RunRowBandsEiiRKSt8functionIFviimEE"})
    EXPECT_EQ(library.Symbol(name), nullptr) << name;
}

TEST(OptionLibrary, NullPointersAndImpossibleFormsAnswerWithoutADialog) {
  const DynamicLibrary library(std::string(OPTION_FOLDER) + "/option.so", true);
  auto* point = library.Function<MvGetPointAndSize>("GetPointAndSize");
  auto* length = library.Function<MvGetLengthAndUnit>("GetLengthAndUnit");
  auto* setting = library.Function<MvShowSetting>("ShowSetting");
  ASSERT_TRUE(point && length && setting);
  MvPoint result{0, 0};
  point(nullptr, 0, &result);
  EXPECT_EQ(result.x, -2);
  const MvPoint size{640, 480};
  point(&size, 0, nullptr);
  length(nullptr, 1.0, 1);
  setting(nullptr);
  // Only modes 0 and 1 exist; a size needs an image of at least one pixel.
  for (const auto& [mode, width, height] :
       {std::tuple{2, 640, 480}, {-1, 640, 480}, {1, 0, 480}, {0, -1, 5}}) {
    result = {0, 0};
    const MvPoint given{width, height};
    point(&given, mode, &result);
    EXPECT_EQ(result.x, -2) << mode << ' ' << width;
    EXPECT_EQ(result.y, -2);
  }
}

TEST(ShowVersion, ShowsTheVersionTextUntilClosed) {
  QString shown;
  const NextDialog driver([&](QWidget& dialog) {
    shown = Field<QLabel>(dialog, "version")->text();
    EXPECT_EQ(dialog.windowTitle(), "バージョン情報");
    Click(dialog, "ok");
  });
  Load()->ShowVersion("1.0.0.0");
  EXPECT_TRUE(driver.Acted());
  EXPECT_EQ(shown, "Version 1.0.0.0");
}

TEST(DirectZoomRatio, OffersTheCurrentRatioAndAnswersTheEnteredOneOrZero) {
  double offered = 0;
  {
    const NextDialog driver([&](QWidget& dialog) {
      auto* ratio = Field<QDoubleSpinBox>(dialog, "ratio");
      offered = ratio->value();
      ratio->setValue(2.5);
      Click(dialog, "ok");
    });
    EXPECT_EQ(Load()->DirectZoomRatio(0.75), 2.5);
  }
  EXPECT_EQ(offered, 0.75);
  {
    const NextDialog driver([&](QWidget& dialog) {
      Field<QDoubleSpinBox>(dialog, "ratio")->setValue(3);
      Click(dialog, "cancel");
    });
    EXPECT_EQ(Load()->DirectZoomRatio(0.75), 0.0);
  }
  // A ratio the form cannot show (none yet, or beyond its range) is offered as 1 or at the limit.
  for (const auto& [current, expected] : {std::pair{0.0, 1.0}, {-3.0, 1.0}, {1e9, 100.0}, {1e-9, 0.01}}) {
    const NextDialog driver([&](QWidget& dialog) {
      offered = Field<QDoubleSpinBox>(dialog, "ratio")->value();
      Click(dialog, "ok");
    });
    EXPECT_EQ(Load()->DirectZoomRatio(current), expected);
    EXPECT_EQ(offered, expected);
  }
}

TEST(GetLengthAndUnit, OffersTheCalibrationAndAnswersTheEnteredLengthAndUnit) {
  QString offeredLength, offeredUnit;
  const NextDialog driver([&](QWidget& dialog) {
    auto* length = Field<QLineEdit>(dialog, "length");
    auto* unit = Field<QComboBox>(dialog, "unit");
    offeredLength = length->text();
    offeredUnit = unit->currentText();
    QStringList units;
    for (int i = 0; i < unit->count(); ++i) units << unit->itemText(i);
    EXPECT_EQ(units, QStringList({"μm", "mm", "cm", "m"}));
    length->setText(" 12.5 ");
    unit->setCurrentIndex(3);
    Click(dialog, "ok");
  });
  const LengthAndUnit entered = Load()->GetLengthAndUnit(0.05, 2);
  EXPECT_EQ(offeredLength, "0.05");
  EXPECT_EQ(offeredUnit, "cm");
  EXPECT_EQ(entered.length, 12.5);
  EXPECT_EQ(entered.unitIndex, 3);
}

TEST(GetLengthAndUnit, OkWaitsForALengthAboveZeroAndCancelAnswersZero) {
  QString offeredLength, offeredUnit;
  std::vector<std::pair<QString, bool>> okFor;
  const NextDialog driver([&](QWidget& dialog) {
    auto* length = Field<QLineEdit>(dialog, "length");
    offeredLength = length->text();
    offeredUnit = Field<QComboBox>(dialog, "unit")->currentText();
    auto* ok = Field<QPushButton>(dialog, "ok");
    for (const char* text : {"", "abc", "0", "-3", "1e-3", "inf", "2,5", "7"}) {
      length->setText(text);
      okFor.emplace_back(text, ok->isEnabled());
    }
    Click(dialog, "cancel");
  });
  // An uncalibrated image offers no length, in millimetres.
  const LengthAndUnit entered = Load()->GetLengthAndUnit(0.0, 1);
  EXPECT_EQ(offeredLength, "");
  EXPECT_EQ(offeredUnit, "mm");
  EXPECT_EQ(entered.length, 0.0);
  const std::vector<std::pair<QString, bool>> expected = {{"", false},    {"abc", false}, {"0", false},
                                                          {"-3", false},  {"1e-3", true}, {"inf", false},
                                                          {"2,5", false}, {"7", true}};
  EXPECT_EQ(okFor, expected);
}

TEST(GetPointAndSize, CoordinateEntryStaysOnTheImageAndCancelAnswersMinusOne) {
  int maxX = 0, maxY = 0;
  QString title;
  {
    const NextDialog driver([&](QWidget& dialog) {
      title = dialog.windowTitle();
      auto* x = Field<QSpinBox>(dialog, "x");
      auto* y = Field<QSpinBox>(dialog, "y");
      maxX = x->maximum();
      maxY = y->maximum();
      x->setValue(1000);  // beyond the image: held at its edge
      y->setValue(17);
      Click(dialog, "ok");
    });
    EXPECT_EQ(Load()->GetPointAndSize({640, 480}, 0), (Point{640, 17}));
  }
  EXPECT_EQ(title, "座標入力");
  EXPECT_EQ(maxX, 640);
  EXPECT_EQ(maxY, 480);
  const NextDialog driver([&](QWidget& dialog) { Click(dialog, "cancel"); });
  EXPECT_EQ(Load()->GetPointAndSize({640, 480}, 0), (Point{-1, -1}));
}

TEST(GetPointAndSize, SizeEntryKeepsTheRatioUntilToldNotTo) {
  std::vector<int> heights;
  const NextDialog driver([&](QWidget& dialog) {
    auto* width = Field<QSpinBox>(dialog, "width");
    auto* height = Field<QSpinBox>(dialog, "height");
    heights.push_back(height->value());
    width->setValue(320);
    heights.push_back(height->value());
    width->setValue(1);  // rounds to nothing: at least one pixel
    heights.push_back(height->value());
    Field<QCheckBox>(dialog, "keepRatio")->setChecked(false);
    width->setValue(100);
    heights.push_back(height->value());
    height->setValue(50);
    Click(dialog, "ok");
  });
  EXPECT_EQ(Load()->GetPointAndSize({640, 480}, 1), (Point{100, 50}));
  EXPECT_EQ(heights, (std::vector<int>{480, 240, 1, 1}));
}

class ShowSetting : public ::testing::Test {
 protected:
  std::string Path() const { return (folder_.Path() / "user.ini").string(); }
  void Write(const std::string& text) const { std::ofstream(Path(), std::ios::binary) << text; }

  TempFolder folder_;
};

TEST_F(ShowSetting, ShowsTheFileAndWritesTheChangesKeepingEverythingElse) {
  Write("; kept\r\n[mirvane]\r\nTop=5\r\n[Scroll]\r\nNormal=0\r\nCtrl=60\r\n[show]\r\ntool message=1\r\n");
  std::map<std::string, QString> shown;
  const NextDialog driver([&](QWidget& dialog) {
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
      shown[box->objectName().toStdString()] = box->isChecked() ? "on" : "off";
    for (QSpinBox* box : dialog.findChildren<QSpinBox*>())
      shown[box->objectName().toStdString()] = QString::number(box->value());
    Field<QCheckBox>(dialog, "Show/Progress Bar")->setChecked(true);
    Field<QCheckBox>(dialog, "Application/Picture Viewer Mode")->setChecked(false);
    Field<QSpinBox>(dialog, "Scroll/Ctrl")->setValue(80);
    Click(dialog, "ok");
  });
  Load()->ShowSetting(Path());

  // A step the scroll bars refuse (0) is offered at the nearest one they take.
  const std::map<std::string, QString> expected = {{"Application/Picture Viewer Mode", "on"},
                                                   {"Show/Tool Message", "on"},
                                                   {"Show/Progress Bar", "off"},
                                                   {"Scroll/Normal", "1"},
                                                   {"Scroll/Ctrl", "60"},
                                                   {"Application/No Cache", "off"},
                                                   {"Cache/Not Delete For Copy", "on"},
                                                   {"Application/Paste Short Cut", "off"},
                                                   {"Log/Length And Area", "off"},
                                                   {"Log/Two Value Area", "off"}};
  EXPECT_EQ(shown, expected);
  const std::string text = ReadFile(Path());
  EXPECT_EQ(text.rfind("; kept\r\n[mirvane]\r\nTop=5\r\n[Scroll]\r\nNormal=1\r\nCtrl=80\r\n", 0), 0u) << text;
  const IniFile ini = IniFile::Parse(text);
  EXPECT_TRUE(ini.ReadBool("Show", "Progress Bar", false));
  EXPECT_TRUE(ini.ReadBool("Show", "Tool Message", false));
  EXPECT_FALSE(ini.ReadBool("Application", "Picture Viewer Mode", true));
  EXPECT_TRUE(ini.ReadBool("Cache", "Not Delete For Copy", false));
  EXPECT_EQ(ini.ReadInteger("mirvane", "Top", 0), 5);
}

TEST_F(ShowSetting, CancelLeavesTheFileAsItWas) {
  const std::string before = "[Scroll]\nNormal=40000\n";
  Write(before);
  const NextDialog driver([&](QWidget& dialog) {
    Field<QCheckBox>(dialog, "Log/Two Value Area")->setChecked(true);
    Click(dialog, "cancel");
  });
  Load()->ShowSetting(Path());
  EXPECT_EQ(ReadFile(Path()), before);
}

TEST_F(ShowSetting, AFileThatCannotBeWrittenIsReportedAndTheDialogStaysOpen) {
  const std::string path = (folder_.Path() / "no-such-folder" / "user.ini").string();
  QString reported;
  std::unique_ptr<NextDialog> errorBox;
  const NextDialog driver([&](QWidget& dialog) {
    errorBox = std::make_unique<NextDialog>([&](QWidget& box) {
      reported = static_cast<QMessageBox&>(box).text();
      static_cast<QMessageBox&>(box).accept();
      // Back in the settings dialog, which is still open: the user gives up.
      QTimer::singleShot(0, &dialog, [&dialog] { Click(dialog, "cancel"); });
    });
    Click(dialog, "ok");
  });
  Load()->ShowSetting(path);
  EXPECT_TRUE(reported.contains("no-such-folder")) << reported.toStdString();
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace mv
