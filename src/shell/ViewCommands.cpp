// Mouse wheel, resizing, the side and bottom bars, the status bar and the colour-depth menu.

#include <algorithm>

#include "platform/IniFile.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

constexpr int kMinimumWindowWidth = 545;
constexpr int kMinimumWindowHeight = 350;

// The picture moved under a pointer that stayed where it was: the image area's pointer handlers see
// it at its new place in the picture, as after a move (status panel 3 shows where it now points).
// The desktop tells the pointer in the coordinates of the scroll position it still shows.
void FollowStillPointer(TForm1& form, Point shownScroll, ShiftState shift) {
  const Point pointer = form.desktop.PointerPosition();
  const Size client = form.ImageAreaSize();
  const int64_t x = int64_t{pointer.x} - shownScroll.x, y = int64_t{pointer.y} - shownScroll.y;
  if (x < 0 || y < 0 || x >= client.width || y >= client.height) return;
  MouseEvent moved;
  moved.shift = shift;
  moved.x = static_cast<int>(x + form.view.scroll.x);
  moved.y = static_cast<int>(y + form.view.scroll.y);
  form.pb1MouseMove(moved);
}

}  // namespace

void TForm1::FormMouseWheel(bool down, ShiftState shift) {
  int64_t amount = view.WheelStep;
  if (shift.ctrl) amount *= 5;
  if (!down) amount = -amount;
  Point target = view.scroll;
  const auto moved = [&](int32_t from) {
    return static_cast<int32_t>(std::clamp<int64_t>(from + amount, INT32_MIN, INT32_MAX));
  };
  if (shift.shift)
    target.x = moved(target.x);
  else
    target.y = moved(target.y);
  const Point before = view.scroll;
  view.scroll = ClampScroll(target);
  if (view.scroll != before) FollowStillPointer(*this, before, shift);
}

void TForm1::FormResize() {
  Rect bounds = desktop.WindowBounds();
  if (bounds.Width() < kMinimumWindowWidth || bounds.Height() < kMinimumWindowHeight) {
    bounds.right = bounds.left + std::max(bounds.Width(), kMinimumWindowWidth);
    bounds.bottom = bounds.top + std::max(bounds.Height(), kMinimumWindowHeight);
    desktop.SetWindowBounds(bounds);
  }
  if (menus.IsChecked("N8") && !TransparencyModeOn()) FitToWindow();
  int others = 0;
  for (std::size_t i = 0; i < controls.sb1.size(); ++i) {
    if (i != 1) others += controls.sb1[i].width;
  }
  controls.sb1[1].width = std::max(0, desktop.WindowClientWidth() - others);
}

void TForm1::scb1Resize() {
  if (menus.IsChecked("N8") && !TransparencyModeOn()) FitToWindow();
}

void TForm1::N24Click() {
  MenuItem& item = menus.Get("N24");
  item.checked = !item.checked;
  controls.pn2Visible = !controls.pn2Visible;
}

void TForm1::N36Click() {
  MenuItem& item = menus.Get("N36");
  item.checked = !item.checked;
  controls.pn1Visible = !controls.pn1Visible;
}

void TForm1::sb1MouseDown(MouseButton /*button*/, int x) {
  int edge = 0;
  for (int i = 0; i <= 3; ++i) edge += controls.sb1[static_cast<std::size_t>(i)].width;
  if (x <= edge) {
    if (!controls.sb1Hint.empty()) desktop.ShowMessageBox(BoxKind::Plain, controls.sb1Hint, kOK, 0);
    return;
  }
  if (x < edge + controls.sb1[4].width) {
    MenuItem& depthMenu = menus.Get(kDepthPopupMenu);
    menus.Open(depthMenu);
    desktop.ShowPopupMenu(depthMenu.name);
    return;
  }
  if (history.UndoCache.empty()) return;
  const BoxButton answer = desktop.ShowMessageBox(
      BoxKind::Confirmation, "\r\n画像のキャッシュを消してよろしいですか？", kOK | kCancel, 0);
  if (answer != kOK) return;
  ClearUndo();
  RecordUndo();
}

void TForm1::PopupMenu2Popup() {
  const std::string& depth = controls.sb1[4].text;
  MenuItem* bits24 = menus.Find("N24bit1");
  MenuItem* bits8 = menus.Find("N8bit1");
  if (depth.empty()) {
    menus.SetEnabled("N24bit1", false);
    menus.SetEnabled("N8bit1", false);
    return;
  }
  menus.SetEnabled("N24bit1", true);
  menus.SetEnabled("N8bit1", true);
  // The number before "bit", trimmed; unreadable text counts as 24 bits.
  const bool eightBits = ParseIniInteger(depth.substr(0, depth.find("bit"))) == 8;
  if (bits24 != nullptr) bits24->checked = !eightBits;
  if (bits8 != nullptr) bits8->checked = eightBits;
}

}  // namespace mv
