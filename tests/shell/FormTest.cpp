#include "shell/TForm1.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <stdexcept>

#include "codecs/PngImage.h"
#include "platform/IniFile.h"
#include "platform/Numbers.h"
#include "support/FakeDesktop.h"
#include "support/TempFolder.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

class Form : public ::testing::Test {
 protected:
  // An image as if loaded from a file: cache entry 0, the hint set, not modified.
  void LoadPicture(int width, int height, const std::string& hint = "/pictures/a.png") {
    window_.Load(Bitmap(width, height), hint);
  }
  void Edit() {
    form_.image.Edit().SetColorAt(0, 0, colors::kRed);
    form_.RecordUndo();
  }

  test::TempFolder folder_;
  FakeDesktop desktop_;
  test::WindowCore window_{desktop_, folder_.String()};
  TForm1& form_ = window_.form;
};

TEST_F(Form, StartsWithTheStateOfWindowCreation) {
  EXPECT_EQ(form_.controls.caption, "mirvane  -- Version 1.0.0.0");
  EXPECT_EQ(form_.controls.sb1[5].text, " Cache 0");
  EXPECT_EQ(form_.history.UndoPosition, -1);
  EXPECT_EQ(form_.view.WheelStep, 100);
  EXPECT_EQ(form_.settings.SettingsPath.substr(0, folder_.String().size() + 1), folder_.String() + "/");
  EXPECT_FALSE(form_.menus.Get("Up1").visible);
  EXPECT_EQ(form_.menus.Get("Down1").shortcut, "Down");
  EXPECT_TRUE(form_.menus.IsChecked("N18"));
  EXPECT_FALSE(form_.menus.Get("D1").enabled);
  EXPECT_TRUE(desktop_.boxes.empty());
}

TEST_F(Form, TheConfirmDiscardCheckAsksOnlyForEditedOrFilelessImages) {
  EXPECT_TRUE(form_.ConfirmDiscard());  // no image
  LoadPicture(4, 4);
  EXPECT_TRUE(form_.ConfirmDiscard());  // as loaded
  Edit();
  form_.history.UndoPosition = 0;  // taken back to the image as loaded
  EXPECT_TRUE(form_.ConfirmDiscard());
  EXPECT_TRUE(desktop_.boxes.empty());

  form_.history.UndoPosition = 1;
  desktop_.boxAnswers = {kCancel, kNo};
  EXPECT_FALSE(form_.ConfirmDiscard());
  EXPECT_TRUE(form_.ConfirmDiscard());
  ASSERT_EQ(desktop_.boxes.size(), 2u);
  EXPECT_EQ(desktop_.boxes[0].kind, BoxKind::Confirmation);
  EXPECT_EQ(desktop_.boxes[0].text, "\r\n画像が変更されています。保存しますか？");
  EXPECT_EQ(desktop_.boxes[0].buttons, kYes | kNo | kCancel);

  // Without a file the image is always asked about, edited or not ("No Cache" leaves position -1).
  form_.controls.sb1Hint.clear();
  form_.history.UndoPosition = -1;
  form_.image.SetModified(false);
  desktop_.boxAnswers = {kNo};
  EXPECT_TRUE(form_.ConfirmDiscard());
  EXPECT_EQ(desktop_.boxes.back().text, "\r\n画像を保存しますか？");
}

TEST_F(Form, AnsweringYesGoesOnOnlyWhenTheSaveCommandWroteTheFile) {
  LoadPicture(4, 4, "");
  desktop_.boxAnswers = {kYes};
  EXPECT_FALSE(form_.ConfirmDiscard());  // the save dialog is cancelled (no file answer)
  EXPECT_EQ(form_.S1Tag, 0);

  int saves = 0;
  bool writes = true;
  form_.menus.Get("S1").onClick = [&] {
    ++saves;
    EXPECT_EQ(form_.S1Tag, 1);
    if (writes) form_.S1Tag = 0;
  };
  form_.menus.Get("S1").enabled = false;  // called directly, not clicked
  desktop_.boxAnswers = {kYes, kYes};
  EXPECT_TRUE(form_.ConfirmDiscard());
  writes = false;
  EXPECT_FALSE(form_.ConfirmDiscard());
  EXPECT_EQ(saves, 2);
  EXPECT_EQ(form_.S1Tag, 0);

  form_.menus.Get("S1").onClick = [] { throw std::runtime_error("disk full"); };
  desktop_.boxAnswers = {kYes};
  EXPECT_THROW(form_.ConfirmDiscard(), std::runtime_error);
  EXPECT_EQ(form_.S1Tag, 0);
}

TEST_F(Form, RecordingAfterUndoDropsTheRedoBranchAndNoCacheRecordsNothing) {
  LoadPicture(3, 3);
  Edit();
  Edit();
  EXPECT_EQ(form_.history.UndoCache.size(), 3u);
  EXPECT_EQ(form_.controls.sb1[5].text, " Cache 2");
  form_.history.UndoPosition = 0;
  Edit();
  EXPECT_EQ(form_.history.UndoCache.size(), 2u);
  EXPECT_EQ(form_.history.UndoPosition, 1);
  EXPECT_EQ(form_.history.UndoCache[1].ColorAt(0, 0), colors::kRed);
  EXPECT_EQ(form_.controls.sb1[5].text, " Cache 1");

  form_.settings.NoCache = true;
  form_.ClearUndo();
  Edit();
  EXPECT_TRUE(form_.history.UndoCache.empty());
  EXPECT_EQ(form_.history.UndoPosition, -1);
}

TEST_F(Form, TheCommandRunnerReportsWhatEscapesWithAFullStopAndRestoresTheCursor) {
  desktop_.cursor = Cursor::Hourglass;
  form_.Run([] { throw RangeError(); });
  form_.Run([] { throw std::bad_alloc(); });
  form_.Run([] { throw std::runtime_error("Cannot open file."); });
  ASSERT_EQ(desktop_.boxes.size(), 3u);
  EXPECT_EQ(desktop_.boxes[0].text, "Range check error.");
  EXPECT_EQ(desktop_.boxes[0].kind, BoxKind::Error);
  EXPECT_EQ(desktop_.boxes[1].text, "Out of memory.");
  EXPECT_EQ(desktop_.boxes[2].text, "Cannot open file.");
  EXPECT_EQ(desktop_.cursor, Cursor::Default);

  // A handler run from a handler is not wrapped again: the outer one ends with one box.
  bool afterInner = false;
  form_.Run([&] {
    form_.Run([] { throw RangeError(); });
    afterInner = true;
  });
  EXPECT_FALSE(afterInner);
  EXPECT_EQ(desktop_.boxes.size(), 4u);
}

TEST_F(Form, AClickOnADisabledItemDoesNothingWhereverItComesFrom) {
  int clicks = 0;
  MenuItem& copy = form_.menus.Get("N5");
  copy.onClick = [&] { ++clicks; };
  copy.enabled = false;
  form_.MenuChosen("N5");
  EXPECT_FALSE(form_.menus.Click("N5"));
  EXPECT_EQ(clicks, 0);
  // A key goes by the state the Edit menu's opening handler gives now, not by what an earlier
  // opening left: without a picture copy is disabled, with one it is enabled.
  copy.enabled = true;
  EXPECT_TRUE(form_.KeyPressed("ctrl+c"));
  EXPECT_EQ(clicks, 0);
  LoadPicture(4, 3);
  copy.enabled = false;
  form_.KeyPressed("Ctrl+C");
  EXPECT_EQ(clicks, 1);
  form_.menus.Get("N4").enabled = false;  // a disabled menu also holds back its items' shortcuts
  form_.KeyPressed("Ctrl+C");
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(form_.KeyPressed("Ctrl+F12"));
}

TEST_F(Form, TheFitKeepsAThinPictureVisibleAndTheZoomAboveNought) {
  LoadPicture(1, 1000);
  form_.FitToWindow();  // 800 x 600: fitted by height, 0.6 rounds to a width of 1
  EXPECT_EQ(form_.view.im1, (Size{1, 600}));
  EXPECT_EQ(form_.view.ZoomFactor, 1.0L);
  desktop_.area = {800, 400};  // 0.4 would round to no width at all
  form_.FitToWindow();
  EXPECT_EQ(form_.view.im1, (Size{1, 400}));
  EXPECT_GT(form_.view.ZoomFactor, 0.0L);
  LoadPicture(1000, 1);
  desktop_.area = {800, 600};
  form_.FitToWindow();
  EXPECT_EQ(form_.view.im1, (Size{800, 1}));
  EXPECT_EQ(form_.view.ZoomFactor, 0.8L);
  EXPECT_EQ(form_.controls.label1, "表示倍率： 0.8 倍");
}

TEST_F(Form, DrawingAfterAnInvalidationIsErasedAtTheEndOfTheEventButOtherwiseStays) {
  LoadPicture(10, 10);
  form_.Run([] {});
  Canvas& canvas = form_.area.pb1Canvas();
  const ColorRef before = form_.Surface().ColorAt(2, 2);
  form_.Run([&] {
    canvas.SetPenColor(colors::kRed);
    canvas.SetPenMode(PenMode::Copy);
    canvas.SetPixel(2, 2);
  });
  EXPECT_EQ(form_.Surface().ColorAt(2, 2), colors::kRed);
  form_.Run([&] {
    form_.image.Edit();  // the picture changed: the view repaints when the event ends
    canvas.SetPixel(2, 2);
  });
  EXPECT_EQ(form_.Surface().ColorAt(2, 2), before);
  // The canvas draws in content coordinates, whatever the scroll position.
  LoadPicture(2000, 2000);
  form_.SetIm1Size({2000, 2000});
  form_.ScrolledTo({100, 50});
  form_.Run([&] { canvas.SetPixel(103, 55); });
  EXPECT_EQ(form_.Surface().ColorAt(3, 5), colors::kRed);
}

TEST_F(Form, SettingsReadTheirDefaultsFromABrokenFileAndKeepItsOtherLinesWhenWritten) {
  {
    IniFile broken =
        IniFile::Parse("garbage\n[Pen]\nColor=clNoSuchColour\n[Menu]\nRatio=42\n[Zoom]\nRatio=abc\n");
    broken.Save(form_.settings.SettingsPath);
  }
  form_.ReadSettings(false);
  EXPECT_EQ(form_.controls.label2Color, colors::kBlue);
  EXPECT_TRUE(form_.menus.IsChecked("N18"));
  EXPECT_EQ(form_.view.ZoomFactor, 1.0L);
  EXPECT_EQ(form_.controls.sb1[1].width, 800 + 28 - 350);
  EXPECT_EQ(desktop_.bounds, (Rect{10, 10, 555, 360}));  // 540 wide by default, at least 545
  form_.controls.label2Color = MakeColor(1, 2, 3);
  form_.WriteSettings();
  const IniFile written = IniFile::Load(form_.settings.SettingsPath);
  EXPECT_EQ(written.ReadString("Pen", "Color"), "$00030201");
  EXPECT_EQ(written.ReadString("Menu", "Ratio"), "2");
  EXPECT_EQ(IniFile::Load(form_.settings.SettingsPath).Text().substr(0, 8), "garbage\n");
}

TEST_F(Form, ClosingWritesTheSettingsEvenWhenTheyCannotBeWrittenAndThenCloses) {
  LoadPicture(2, 2);
  ASSERT_EQ(std::system(("mkdir '" + form_.settings.SettingsPath + "'").c_str()), 0);
  form_.CloseRequested();
  EXPECT_TRUE(form_.IsClosed());
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].text, "Unable to write to " + form_.settings.SettingsPath +
                                        ": the file cannot be read; the settings were not saved.");
  EXPECT_TRUE(form_.history.UndoCache.empty());
}

// A settings file that is there but cannot be read is reported once at start and never replaced:
// a named pipe (which must not hold the start either), a folder, a file past the size limit.
TEST_F(Form, ASettingsFileThatCannotBeReadIsReportedAtStartAndLeftAlone) {
  const std::string& path = form_.settings.SettingsPath;
  const std::string warning =
      "\r\n設定ファイル：" + path +
      "を読み取ることができませんでした\r\n\r\n既定の設定で起動します。設定は保存されません";
  const auto startAndClose = [&](const std::function<void()> makeFile) {
    FakeDesktop desktop;
    test::WindowCore window(desktop, folder_.String());
    TForm1& form = window.form;
    makeFile();
    alarm(20);  // a regression that waits on a pipe fails instead of hanging
    form.Show({});
    alarm(0);
    form.CloseRequested();
    EXPECT_TRUE(form.IsClosed());
    ASSERT_EQ(desktop.boxes.size(), 1u);  // the warning; closing says nothing more
    EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Warning);
    EXPECT_EQ(desktop.boxes[0].text, warning);
    EXPECT_EQ(desktop.bounds, (Rect{10, 10, 555, 360}));  // the defaults (545 wide at least)
  };
  startAndClose([&] { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); });
  struct stat info {};
  ASSERT_EQ(lstat(path.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  unlink(path.c_str());

  startAndClose([&] {
    std::ofstream out(path, std::ios::binary);
    out << "[mirvane]\r\nLeft=300\r\n" << std::string(IniFile::kMaxFileSize, '\n');
  });
  EXPECT_EQ(std::filesystem::file_size(path), IniFile::kMaxFileSize + 21);
}

TEST_F(Form, ASettingsFileWithoutReadPermissionIsNotReplacedSkippedForRoot) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads files of any permission";
  IniFile ini;
  ini.WriteInteger("mirvane", "Left", 300);
  ini.Save(form_.settings.SettingsPath);
  chmod(form_.settings.SettingsPath.c_str(), 0);
  form_.Show({});
  form_.CloseRequested();
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].kind, BoxKind::Warning);
  chmod(form_.settings.SettingsPath.c_str(), 0600);
  EXPECT_EQ(IniFile::Load(form_.settings.SettingsPath).Text(), ini.Text());
}

// A linked settings file is written through the link; a read-only one is kept as it is and the
// user told that the settings were not saved; positions past any screen are brought back.
TEST_F(Form, SettingsAreWrittenThroughALinkAndNeverOverAReadOnlyFile) {
  const std::string& path = form_.settings.SettingsPath;
  const std::string target = folder_.File("elsewhere.ini");
  {
    IniFile ini;
    ini.WriteInteger("mirvane", "Left", 2147483647);
    ini.WriteInteger("mirvane", "Top", -2147483647);
    ini.WriteInteger("mirvane", "Width", 2147483647);
    ini.WriteString("Other", "Kept", "yes");
    ini.Save(target);
  }
  ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
  form_.Show({});
  EXPECT_EQ(desktop_.bounds, (Rect{32767, -32768, 65534, -32768 + 350}));
  desktop_.bounds = {20, 30, 620, 430};
  form_.WriteSettings();
  struct stat info {};
  ASSERT_EQ(lstat(path.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  const IniFile written = IniFile::Load(target);
  EXPECT_EQ(written.ReadString("mirvane", "Width"), "600");
  EXPECT_EQ(written.ReadString("Other", "Kept"), "yes");

  chmod(target.c_str(), 0444);
  const std::string before = written.Text();
  form_.CloseRequested();
  EXPECT_TRUE(form_.IsClosed());
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].kind, BoxKind::Error);
  EXPECT_EQ(desktop_.boxes[0].text,
            "Unable to write to " + path + ": the file is read-only; the settings were not saved.");
  EXPECT_EQ(IniFile::Load(target).Text(), before);
}

TEST_F(Form, ARefusedCloseKeepsTheWindowAndWritesNothing) {
  LoadPicture(2, 2, "");
  desktop_.boxAnswers = {kCancel};
  form_.CloseRequested();
  EXPECT_FALSE(form_.IsClosed());
  EXPECT_FALSE(IniFile::Load(form_.settings.SettingsPath).ReadString("mirvane", "Maximized"));
  EXPECT_EQ(form_.history.UndoCache.size(), 1u);
}

TEST_F(Form, SteppingThroughTheFolderAsksBeforeAnEditedImageIsReplaced) {
  for (const char* name : {"a.png", "b.png"}) WritePngFile(folder_.String() + "/" + name, Bitmap(3, 2), {});
  form_.menus.Get("N33").checked = true;
  ASSERT_TRUE(form_.LoadImageFile(folder_.String() + "/a.png", true));
  Edit();
  desktop_.boxAnswers = {kCancel};
  form_.N38Click();
  EXPECT_EQ(form_.controls.sb1[0].text, "a.png");
  EXPECT_EQ(desktop_.boxes.size(), 1u);
  desktop_.boxAnswers = {kNo};
  form_.N38Click();
  EXPECT_EQ(form_.controls.sb1[0].text, "b.png");
  form_.N38Click();  // an unedited file-backed image goes without a question
  EXPECT_EQ(form_.controls.sb1[0].text, "a.png");
  EXPECT_EQ(desktop_.boxes.size(), 2u);
}

TEST_F(Form, AnImageWhoseViewSizeDoesNotFitIsRefusedBeforeAnythingChanges) {
  WritePngFile(folder_.String() + "/wide.png", Bitmap(3000, 1), {});
  LoadPicture(4, 4);
  form_.view.ZoomFactor = 1e6L;
  EXPECT_THROW(form_.LoadImageFile(folder_.String() + "/wide.png", true), RangeError);
  EXPECT_EQ(form_.image.Width(), 4);
  EXPECT_EQ(form_.controls.sb1Hint, "/pictures/a.png");
  EXPECT_EQ(form_.history.UndoCache.size(), 1u);
  EXPECT_EQ(desktop_.cursor, Cursor::Default);
}

// A subsystem that adds one menu item and records when it was made.
class CountingSubsystem : public Subsystem {
 public:
  CountingSubsystem(TForm1& form, std::vector<std::string>& made, std::string name) {
    made.push_back(name);
    form.menus.Add("N7", MakeMenuItem("Test" + name, name, [] {}));
  }
};

TEST(FormCore, StandsAloneAndMakesItsSubsystemsInOrderAfterItsOwnCommands) {
  test::TempFolder folder;
  FakeDesktop desktop;
  std::vector<std::string> made;
  const auto make = [&made](std::string name) -> SubsystemFactory {
    return [&made, name](TForm1& form) { return std::make_unique<CountingSubsystem>(form, made, name); };
  };
  TForm1 form(desktop, folder.String(), {make("A"), make("B")});
  form.Create();
  EXPECT_EQ(made, (std::vector<std::string>{"A", "B"}));
  EXPECT_NE(form.FindSubsystem<CountingSubsystem>(), nullptr);
  EXPECT_NE(form.menus.Find("TestB"), nullptr);
  // The core alone: its own menus, none of a subsystem's.
  TForm1 bare(desktop, folder.String());
  bare.Create();
  EXPECT_NE(bare.menus.Find("N2"), nullptr);
  EXPECT_EQ(bare.menus.Find("N9"), nullptr);
  EXPECT_EQ(bare.FindSubsystem<CountingSubsystem>(), nullptr);
}

}  // namespace
}  // namespace mv
