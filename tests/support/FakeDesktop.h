#pragma once
// A desktop for unit tests: records the boxes it was shown and answers them from a list.

#include <deque>
#include <string>
#include <vector>

#include "optionlib/OptionLibrary.h"
#include "shell/Desktop.h"

namespace mv {

struct ShownBox {
  BoxKind kind;
  std::string text;
  BoxButtons buttons;
};

class NoOptionLibrary : public OptionLibrary {
 public:
  std::unique_ptr<OptionSession> Load() override { throw OptionLibraryMissing("not in tests"); }
};

class FakeDesktop : public Desktop {
 public:
  std::vector<ShownBox> boxes;
  std::deque<BoxButton> boxAnswers;  // answers in order; OK when the list is empty
  std::deque<std::optional<std::string>> fileAnswers;
  Size area{800, 600};
  Rect bounds{10, 10, 550, 360};
  bool maximized = false;
  Cursor cursor = Cursor::Default;
  int repaints = 0;
  NoOptionLibrary optionLibrary;

  BoxButton ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons, int) override {
    boxes.push_back({kind, text, buttons});
    if (boxAnswers.empty()) return kOK;
    const BoxButton answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
  }
  std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) override {
    if (fileAnswers.empty() || !fileAnswers.front()) {
      if (!fileAnswers.empty()) fileAnswers.pop_front();
      return std::nullopt;
    }
    const std::string path = *fileAnswers.front();
    fileAnswers.pop_front();
    return FileDialogResult{path, request.filterIndex};
  }
  std::optional<ColorRef> ShowColorDialog(ColorRef) override { return std::nullopt; }
  void ShowPopupMenu(const std::string&) override {}
  void ShowProgressDialog(TForm3&) override {}
  void UpdateProgressDialog(TForm3&) override {}
  void HideProgressDialog(TForm3&) override {}
  void ProcessPendingEvents() override {}
  void SetClipboardBitmap(const Bitmap&) override {}
  std::optional<Bitmap> ClipboardBitmap() override { return std::nullopt; }
  std::optional<Bitmap> ClipboardMetafile() override { return std::nullopt; }
  Rect VirtualDesktopRect() override { return {0, 0, 1920, 1080}; }
  std::optional<Rect> ForegroundWindowRect() override { return std::nullopt; }
  Bitmap CaptureScreen(const Rect& r) override { return Bitmap(r.Width(), r.Height()); }
  Size ScreenSize() override { return {1920, 1080}; }
  void ShowHelp(const HelpRequest&) override {}
  void SetScreenCursor(Cursor c) override { cursor = c; }
  void SetImageAreaCursor(Cursor) override {}
  void SetWindowOpacity(std::optional<int>) override {}
  void SetAlwaysOnTop(bool) override {}
  void MinimizeApplication() override {}
  void RestoreApplication() override {}
  bool IsMaximized() override { return maximized; }
  void SetMaximized(bool m) override { maximized = m; }
  Rect WindowBounds() override { return bounds; }
  void SetWindowBounds(const Rect& b) override { bounds = b; }
  int WindowClientWidth() override { return area.width + 28; }
  Size ImageAreaClientSize() override { return area; }
  void CloseWindow() override {}
  void SetTimerEnabled(bool) override {}
  Point PointerPosition() override { return {}; }
  void RepaintImageArea() override { ++repaints; }
  OptionLibrary& GetOptionLibrary() override { return optionLibrary; }
};

}  // namespace mv
