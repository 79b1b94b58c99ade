#include "saving/SaveCommands.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "codecs/FileBytes.h"
#include "codecs/GifImage.h"
#include "codecs/ImageFile.h"
#include "macro/ScriptedDesktop.h"
#include "support/Pictures.h"
#include "support/TempFolder.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The chunk types of a PNG file in order, each with its data.
std::vector<std::pair<std::string, std::string>> PngChunks(const std::string& path) {
  const std::string file = Contents(path);
  std::vector<std::pair<std::string, std::string>> chunks;
  for (std::size_t at = 8; at + 12 <= file.size();) {
    const auto byte = [&](std::size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(file[i])); };
    const uint32_t length = byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
    chunks.emplace_back(file.substr(at + 4, 4), file.substr(at + 8, length));
    at += 12 + length;
  }
  return chunks;
}

const std::string* FindChunk(const std::vector<std::pair<std::string, std::string>>& chunks,
                             const std::string& type) {
  for (const auto& [name, data] : chunks) {
    if (name == type) return &data;
  }
  return nullptr;
}

// A file limit for this process: writes beyond it fail with EFBIG, as on a full disk, for root too.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

class SaveCommandsTest : public ::testing::Test {
 protected:
  SaveCommandsTest() {
    window_.Load(test::Gradient(40, 30), folder_.File("a.png"));
    Edit();
  }

  void Edit() {
    form_.image.Edit().SetColorAt(1, 1, colors::kRed);
    form_.RecordUndo();
  }
  void Answer(std::string kind, std::vector<std::string> values) {
    desktop_.Answers().Push(mv::Answer{std::move(kind), std::move(values)});
  }
  std::size_t ErrorBoxes() const {
    const std::string text = out_.str();
    std::size_t count = 0;
    for (std::size_t at = text.find("box error"); at != std::string::npos;
         at = text.find("box error", at + 1))
      ++count;
    return count;
  }

  test::TempFolder folder_;
  std::ostringstream out_;
  ScriptedDesktop desktop_{out_, folder_.String()};
  test::WindowCore window_{desktop_, folder_.String()};
  TForm1& form_ = window_.form;
  SaveCommands& save_ = *form_.FindSubsystem<SaveCommands>();
};

TEST_F(SaveCommandsTest, AFileThatCannotBeWrittenLosesNothingAndTheConfirmDiscardCheckKeepsTheImage) {
  fs::create_directory(folder_.File("taken.bmp"));
  WriteText(folder_.File("full.bmp"), "the file as it was");
  const struct {
    const char* what;
    std::string path;
  } cases[] = {
      {"a folder in the target's place", folder_.File("taken.bmp")},
      {"a name too long", folder_.File(std::string(300, 'n') + ".bmp")},
      {"a folder that does not exist", folder_.File("missing/a.bmp")},
      {"a full disk", folder_.File("full.bmp")},
  };
  const Bitmap picture = form_.image.Picture();
  for (const auto& c : cases) {
    const std::size_t boxes = ErrorBoxes();
    bool discarded = true;
    int32_t tagAfterSave = 0;
    {
      const FileSizeLimit limit(1000);  // the 40 x 30 bitmap file takes 3654 bytes
      form_.S1Tag = 1;
      Answer("file", {c.path});
      save_.S1Click();
      tagAfterSave = form_.S1Tag;
      Answer("box", {"Yes"});
      Answer("file", {c.path});
      discarded = form_.ConfirmDiscard();
    }
    EXPECT_EQ(ErrorBoxes(), boxes + 2) << c.what;
    EXPECT_EQ(tagAfterSave, 1) << c.what;
    EXPECT_FALSE(discarded) << c.what;
    EXPECT_TRUE(form_.image.Modified()) << c.what;
    EXPECT_TRUE(form_.image.Picture() == picture) << c.what;
    EXPECT_EQ(form_.controls.sb1Hint, folder_.File("a.png")) << c.what;
  }
  // The boxes name the file asked for, never the temporary written beside it.
  EXPECT_NE(out_.str().find("cannot write " + folder_.File("missing/a.bmp") + ": No such file or directory."),
            std::string::npos);
  EXPECT_EQ(out_.str().find(".tmp"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(folder_.File("taken.bmp")));
  EXPECT_EQ(Contents(folder_.File("full.bmp")), "the file as it was");
  // No temporary file is left beside the targets.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder_.Path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"full.bmp", "taken.bmp"}));
}

TEST_F(SaveCommandsTest, ANameAsLongAsTheFileSystemTakesIsSaved) {
  const std::string path = folder_.File(std::string(251, 'n') + ".bmp");  // 255 bytes
  Answer("file", {path});
  save_.S1Click();
  EXPECT_TRUE(fs::is_regular_file(path));
  EXPECT_FALSE(form_.image.Modified());
}

TEST_F(SaveCommandsTest, SavingOverTheViewedFileReplacesItAndTheImageIsNoLongerAskedAbout) {
  const std::string path = folder_.File("a.png");
  WriteText(path, "an older file");
  Answer("file", {path});
  Answer("option", {"ok"});
  form_.S1Tag = 1;
  save_.S1Click();

  const std::optional<DecodedImage> written = ReadImageFile(path);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->format, kFormatPng);
  EXPECT_TRUE(written->bitmap.ToBgr24() == form_.image.Picture());
  EXPECT_EQ(form_.controls.label1, "画像を保存しました： " + path);
  EXPECT_EQ(form_.controls.sb1[0].text, "a.png");
  EXPECT_EQ(form_.controls.sb1[1].text, folder_.String());
  EXPECT_EQ(form_.controls.sb1Hint, path);
  EXPECT_FALSE(form_.image.Modified());
  EXPECT_EQ(form_.S1Tag, 0);
  EXPECT_TRUE(form_.ConfirmDiscard());  // no question: nothing is queued to answer one
}

TEST_F(SaveCommandsTest, APngCarriesTheDialogsGammaTransparentColourAndTime) {
  const std::string plain = folder_.File("plain.png"), set = folder_.File("set.png");
  Answer("file", {plain});
  Answer("option", {"ok"});
  save_.S1Click();
  Answer("file", {set});
  Answer("option", {"ok", "gamma=2.2", "colour=FF0000", "time=0", "slider1=0"});
  save_.S1Click();

  const auto plainChunks = PngChunks(plain);
  EXPECT_NE(FindChunk(plainChunks, "tIME"), nullptr);
  EXPECT_EQ(FindChunk(plainChunks, "gAMA"), nullptr);
  EXPECT_EQ(FindChunk(plainChunks, "tRNS"), nullptr);

  const auto setChunks = PngChunks(set);
  EXPECT_EQ(FindChunk(setChunks, "tIME"), nullptr);
  const std::string* gamma = FindChunk(setChunks, "gAMA");
  ASSERT_NE(gamma, nullptr);
  EXPECT_EQ(*gamma, std::string("\0\0\xb1\x8f", 4));  // 45455: 1 / 2.2 in units of 1 / 100000
  const std::string* transparent = FindChunk(setChunks, "tRNS");
  ASSERT_NE(transparent, nullptr);
  EXPECT_EQ(*transparent, std::string("\0\xff\0\0\0\0", 6));  // red 255, green 0, blue 0
}

TEST_F(SaveCommandsTest, AGammaEntryThatIsNoNumberOrBelowZeroWritesNothing) {
  for (const char* gamma : {"abc", "-1", "1e999", "nan"}) {
    form_.S1Tag = 1;
    Answer("file", {folder_.File("g.png")});
    Answer("option", {"ok", std::string("gamma=") + gamma});
    Answer("box", {"OK"});  // the dialog's warning
    save_.S1Click();
    EXPECT_FALSE(fs::exists(folder_.File("g.png"))) << gamma;
    EXPECT_EQ(form_.S1Tag, 1) << gamma;
    EXPECT_TRUE(form_.image.Modified()) << gamma;
  }
  EXPECT_EQ(ErrorBoxes(), 0u);  // the dialog's own warning said why
}

TEST_F(SaveCommandsTest, AGifKeepsTheChosenColourAsItsTransparentEntry) {
  form_.image.Replace(test::Plate(16, 8, MakeColor(10, 200, 30)));
  form_.image.Edit().SetColorAt(3, 2, MakeColor(250, 1, 2));
  Answer("file", {folder_.File("t.gif")});
  Answer("option", {"ok", "colour=FA0102"});
  save_.S1Click();

  GifImage gif;
  gif.LoadFromFile(folder_.File("t.gif"));
  const std::optional<int> transparent = gif.TransparentIndex();
  ASSERT_TRUE(transparent);
  const Bitmap read = gif.ToBitmap();
  EXPECT_EQ(read.IndexAt(3, 2), *transparent);
  EXPECT_NE(read.IndexAt(0, 0), *transparent);
  EXPECT_EQ(read.ColorAt(3, 2), MakeColor(250, 1, 2));
}

TEST_F(SaveCommandsTest, TheSaveDialogStartsAtTheFileInTheFormatItWasReadIn) {
  form_.image.LoadedFormat = kFormatPng;
  FileDialogRequest request = save_.SaveDialogRequest();
  EXPECT_EQ(request.kind, FileDialogKind::Save);
  EXPECT_EQ(request.filterIndex, 4);
  EXPECT_EQ(request.initialDir, folder_.File("a.png"));
  EXPECT_EQ(request.defaultExt, "jpg");
  EXPECT_NE(request.options & kOverwritePrompt, 0u);

  form_.image.LoadedFormat = kFormatNone;  // pasted: the dialog's own default
  form_.controls.sb1Hint.clear();
  request = save_.SaveDialogRequest();
  EXPECT_EQ(request.filterIndex, 0);
  EXPECT_EQ(request.initialDir, "");
}

}  // namespace
}  // namespace mv
