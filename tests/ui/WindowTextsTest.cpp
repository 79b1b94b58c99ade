// Texts on the screen: the status panels' texts fit or show that they are cut; Qt's own dialogs are
// in Japanese with room for their texts.

#include <QDialog>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QListView>
#include <QStyleOptionViewItem>
#include <QTranslator>
#include <QTreeView>
#include <fstream>
#include <functional>

#include "ui/FileDialogs.h"
#include "ui/QtTestSupport.h"
#include "ui/StatusBarWidget.h"
#include "ui/Translations.h"
#include "ui/UiFont.h"
#include "ui/WindowFixture.h"

namespace mv::test {
namespace {

// Processes events until `done` holds, for at most two seconds.
bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer waited;
  waited.start();
  while (!done() && waited.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(5);
  }
  return done();
}

// The status bar at the window's font, its panels at their design widths in a window 800 wide.
TEST(StatusBarTexts, TheUsualTextsFitAndLongerOnesEndInAnEllipsisAndShowWholeUnderThePointer) {
  QApplication::setFont(WindowFont());
  StatusBarWidget bar({}, nullptr);
  QApplication::setFont(QFont());
  FormControls controls;
  controls.sb1[1].width = 800 - 350;
  const std::array<std::string, 6> texts = {
      "micrograph-of-sample-17.png", "/pictures", "99999x99999", "12345x67890", "24 bit", " Cache 999"};
  for (std::size_t i = 0; i < texts.size(); ++i) controls.sb1[i].text = texts[i];
  controls.sb1Hint = "/pictures/micrograph-of-sample-17.png";
  bar.Show(controls);
  bar.resize(800, kStatusBarHeight);

  for (std::size_t i = 1; i < texts.size(); ++i) EXPECT_EQ(bar.ShownText(i).toStdString(), texts[i]);
  EXPECT_GE(bar.PanelFont().pixelSize(), 8);
  const QString cut = bar.ShownText(0);
  EXPECT_TRUE(cut.endsWith(QString::fromUtf8("…"))) << cut.toStdString();
  EXPECT_TRUE(QString::fromStdString(texts[0]).startsWith(cut.chopped(1)));
  // The cut panel shows its text whole; the others show the bar's hint, the file's full path.
  EXPECT_EQ(bar.ToolTipAt(QPoint(45, 9)).toStdString(), texts[0]);
  EXPECT_EQ(bar.ToolTipAt(QPoint(90 + 450 + 35, 9)).toStdString(), controls.sb1Hint);
}

// Qt's Japanese texts for one test; the other tests of this program see Qt as it comes.
class JapaneseQtTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    QApplication::setFont(WindowFont());
    ASSERT_TRUE(InstallJapaneseQtTexts(*QCoreApplication::instance()));
  }
  void TearDown() override {
    QApplication::setFont(QFont());
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
    QLocale::setDefault(QLocale::c());
  }
};

TEST_F(JapaneseQtTexts, TheFileDialogSpeaksJapaneseAndItsColumnsAndPlacesFitTheirTexts) {
  TempFolder folder;
  // A file whose size and type read long ("878.91 KiB", a type named after its extension).
  std::ofstream(folder.File("a-long-name-of-a-micrograph.measurements")) << std::string(900000, 'x');
  FileDialogRequest request;
  request.initialDir = folder.Path().string();
  request.filter = "全てのファイル (*.*)|*.*";
  QStringList headers;
  std::vector<int> widths, wanted;
  int placesWidth = 0, placesWanted = 0;
  const NextDialog reader([&](QWidget& dialog) {
    auto* files = dialog.findChild<QTreeView*>("treeView");
    auto* places = dialog.findChild<QListView*>("sidebar");
    ASSERT_NE(files, nullptr);
    ASSERT_NE(places, nullptr);
    const auto listed = [&] { return files->model()->rowCount(files->rootIndex()) > 0; };
    EXPECT_TRUE(WaitFor(listed));
    // The room a column's header and its entry of the one file need.
    const auto needed = [&](int column) {
      QStyleOptionViewItem option;
      option.initFrom(files->viewport());
      option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
      const QModelIndex entry = files->model()->index(0, column, files->rootIndex());
      return std::max(files->header()->sectionSizeHint(column),
                      files->itemDelegateForIndex(entry)->sizeHint(option, entry).width());
    };
    // The columns follow once the folder's details are in.
    WaitFor([&] {
      for (int column = 0; column < 4; ++column) {
        if (files->header()->sectionSize(column) < needed(column)) return false;
      }
      return true;
    });
    for (int column = 0; column < 4; ++column) {
      headers << files->model()->headerData(column, Qt::Horizontal).toString();
      widths.push_back(files->header()->sectionSize(column));
      wanted.push_back(needed(column));
    }
    placesWidth = places->viewport()->width();
    placesWanted = places->sizeHintForColumn(0);
    static_cast<QDialog&>(dialog).reject();
  });
  EXPECT_FALSE(RunFileDialog(request, nullptr));
  EXPECT_EQ(headers, QStringList({"名前", "サイズ", "タイプ", "更新日"}));
  for (std::size_t column = 0; column < wanted.size(); ++column)
    EXPECT_GE(widths[column], wanted[column]) << "column " << column;
  EXPECT_GE(placesWidth, placesWanted);
}

}  // namespace
}  // namespace mv::test
