// The command runner and the entry points through which the desktop delivers the user's input.

#include <new>

#include "platform/DepthScope.h"
#include "platform/OutOfMemory.h"
#include "shell/TForm1.h"

namespace mv {

void TForm1::Run(const std::function<void()>& handler) {
  if (commandDepth_ > 0) {
    handler();
    return;
  }
  {
    const DepthScope depth(commandDepth_);
    try {
      handler();
    } catch (const std::exception&) {
      ReportCurrentException();
    }
  }
  // The subsystems notice what the event changed, and the window repaints what changed.
  const DepthScope depth(commandDepth_);
  try {
    for (const auto& after : afterEventHandlers) after();
    UpdateImageArea();
  } catch (const std::exception&) {
    ReportCurrentException();
  }
}

void TForm1::ReportCurrentException() {
  std::string text;
  try {
    throw;
  } catch (const OutOfMemoryError& error) {
    text = error.what();  // says for what
  } catch (const std::bad_alloc&) {
    text = "Out of memory";
  } catch (const std::exception& error) {
    text = error.what();
  }
  if (text.empty() || text.back() != '.') text += '.';
  desktop.SetScreenCursor(Cursor::Default);
  desktop.ShowMessageBox(BoxKind::Error, text, kOK, 0);
}

bool TForm1::AcceptsInput() const {
  // The desktop handles pending input while a long operation runs under its progress dialog; a
  // command, click or drop arriving then would change the picture the operation is reading.
  return ProgressDialogs == 0;
}

void TForm1::Create() {
  Run([&] { FormCreate(); });
}

void TForm1::Show(const std::vector<std::string>& arguments) {
  Run([&] { FormShow(arguments); });
}

void TForm1::TimerFired() {
  if (!AcceptsInput()) return;
  Run([&] {
    if (Timer1Enabled) Timer1Timer();
  });
}

void TForm1::CloseRequested() {
  if (!AcceptsInput()) return;
  Run([&] { Close(); });
}

void TForm1::MenuOpening(const std::string& menuName) {
  Run([&] {
    if (MenuItem* menu = menus.Find(menuName)) menus.Open(*menu);
  });
}

void TForm1::MenuChosen(const std::string& itemName) {
  if (!AcceptsInput()) return;
  Run([&] {
    MenuItem* item = menus.Find(itemName);
    if (item != nullptr && item->visible) menus.Click(*item);
  });
}

bool TForm1::KeyPressed(const std::string& key) {
  MenuItem* item = menus.FindByShortcut(key);
  if (item == nullptr) return false;
  if (!AcceptsInput()) return true;
  const std::string name = item->name;
  Run([&] { menus.ClickByKey(name); });
  return true;
}

void TForm1::ButtonClicked(const std::string& name) {
  if (!AcceptsInput()) return;
  Run([&] {
    if (BarButton* button = controls.FindButton(name)) {
      if (controls.BarShown(*button) && button->visible && button->enabled && button->onClick)
        button->onClick();
    } else if (ColorPanel* panel = controls.FindColorPanel(name)) {
      if (controls.pn2Visible && panel->onClick) panel->onClick();
    }
  });
}

void TForm1::StatusBarPressed(int x, MouseButton button) {
  if (!AcceptsInput()) return;
  Run([&] { sb1MouseDown(button, x); });
}

void TForm1::ImageMouseDown(const MouseEvent& event) {
  if (!AcceptsInput()) return;
  Run([&] { pb1MouseDown(event); });
}

void TForm1::ImageMouseMove(const MouseEvent& event) {
  Run([&] { pb1MouseMove(event); });
}

void TForm1::ImageMouseUp(const MouseEvent& event) {
  if (!AcceptsInput()) return;
  Run([&] { pb1MouseUp(event); });
}

void TForm1::WheelTurned(bool down, ShiftState shift) {
  Run([&] { FormMouseWheel(down, shift); });
}

void TForm1::FilesDropped(const std::vector<std::string>& paths) {
  if (!AcceptsInput()) return;
  Run([&] { WMDropFiles(paths); });
}

void TForm1::WindowResized() {
  Run([&] {
    FormResize();
    scb1Resize();
  });
}

void TForm1::ScrolledTo(Point position) {
  Run([&] { view.scroll = ClampScroll(position); });
}

}  // namespace mv
