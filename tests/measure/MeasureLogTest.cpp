// Writing the measurement log where the journeys cannot reach: binarized-area lines before the
// length lines, an empty queue, and writes failing midway.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "MeasureFixture.h"
#include "measure/ShiftJis.h"
#include "support/TempFolder.h"

namespace mv {
namespace {

class MeasureLog : public MeasureFixture {
 protected:
  MeasureLog() {
    form_.settings.LogLengthAndArea = true;
    form_.logs.clock = [] { return LocalTime{2024, 5, 6, 7, 8, 9}; };
    form_.controls.sb1Hint = "/pictures/plate.png";
  }
  std::string FileBytes() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void WriteFile(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }

  test::TempFolder folder_;
  std::string path_ = folder_.File("result.log");
};

constexpr const char* kLengthLine =
    "2024/05/06 7:08:09,長さ,40,pixels,/pictures/plate.png,計測点X Y=10 10,50 10,";

TEST_F(MeasureLog, ResultsQueueLinesOnlyWhileLoggingIsOn) {
  Figure(kPolyline, {{10, 10}, {50, 10}});
  ASSERT_EQ(form_.logs.MeasureLog, std::vector<std::string>{kLengthLine});
  form_.settings.LogLengthAndArea = false;
  Figure(kPolygon, {{10, 10}, {50, 10}, {50, 50}});
  EXPECT_EQ(form_.logs.MeasureLog.size(), 1u);
  EXPECT_EQ(form_.controls.label1, "多角形の面積= 800 pixel2");
}

TEST_F(MeasureLog, AreaLinesComeFirstAndAChosenExistingFileGetsOneBlankLine) {
  WriteFile("old\r\n");
  form_.logs.AreaLog = {"見出し", "白,黒"};
  Figure(kPolyline, {{10, 10}, {50, 10}});
  Answer("file", {path_});
  Choose("N41");
  EXPECT_EQ(FileBytes(), "old\r\n" + ToShiftJis("見出し") + "\r\n" + ToShiftJis("白,黒") + "\r\n\r\n" +
                             ToShiftJis(kLengthLine) + "\r\n");
  EXPECT_TRUE(form_.logs.AreaLog.empty());
}

TEST_F(MeasureLog, NothingQueuedOrCancelledLeavesTheFileAlone) {
  Answer("file", {path_});
  form_.MenuChosen("N41");
  EXPECT_EQ(form_.controls.label1, "ログがありません。");
  EXPECT_EQ(Measure().LogFileName(), path_);  // the chosen file stays chosen
  struct stat info {};
  EXPECT_NE(stat(path_.c_str(), &info), 0);

  form_.menus.Get("N41").hint.clear();
  Figure(kPolyline, {{10, 10}, {50, 10}});
  Answer("file", {"cancel"});
  Choose("N41");
  EXPECT_EQ(form_.controls.label1, "ログファイルへの出力を取りやめました");
  EXPECT_EQ(form_.logs.MeasureLog.size(), 1u);
}

TEST_F(MeasureLog, AWriteFailingMidwayKeepsTheQueueBeingWritten) {
  // A device that takes nothing: the first write fails, both queues stay.
  form_.menus.Get("N41").hint = "/dev/full";
  form_.logs.AreaLog = {"head"};
  Figure(kPolyline, {{10, 10}, {50, 10}});
  Choose("N41");
  EXPECT_NE(out_.str().find("box error \"ログファイルへの書き込みに失敗しました"), std::string::npos);
  EXPECT_NE(form_.controls.label1, "ログファイルへ出力しました");
  EXPECT_EQ(form_.logs.AreaLog.size(), 1u);
  EXPECT_EQ(form_.logs.MeasureLog.size(), 1u);

  // A file that may grow only by the area lines: those are written and leave their queue, the
  // length lines fail and stay.
  WriteFile("x");
  form_.menus.Get("N41").hint = path_;
  const std::size_t room = 1 + std::string("\r\nhead\r\n").size();
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = room;
  setrlimit(RLIMIT_FSIZE, &limited);
  Choose("N41");
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(FileBytes(), "x\r\nhead\r\n");
  EXPECT_TRUE(form_.logs.AreaLog.empty());
  EXPECT_EQ(form_.logs.MeasureLog.size(), 1u);
}

// A log file that is a named pipe would hold the program until something read from it: it is
// refused at once with the log's error box, and both queues stay.
TEST_F(MeasureLog, ANamedPipeAsTheLogIsRefusedAndTheQueuesKept) {
  ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
  form_.menus.Get("N41").hint = path_;
  form_.logs.AreaLog = {"head"};
  Figure(kPolyline, {{10, 10}, {50, 10}});
  alarm(20);  // a regression that waits on the pipe fails instead of hanging
  Choose("N41");
  alarm(0);
  EXPECT_NE(out_.str().find("box error \"\\r\\nログファイルに書き込むことができません"), std::string::npos);
  EXPECT_EQ(form_.controls.label1, "ログファイルへ書き込めませんでした");
  EXPECT_EQ(form_.logs.AreaLog.size(), 1u);
  EXPECT_EQ(form_.logs.MeasureLog.size(), 1u);

  // A device that takes everything is a log like a file.
  form_.menus.Get("N41").hint = "/dev/null";
  Choose("N41");
  EXPECT_EQ(form_.controls.label1, "ログファイルへ出力しました");
  EXPECT_TRUE(form_.logs.MeasureLog.empty());
}

}  // namespace
}  // namespace mv
