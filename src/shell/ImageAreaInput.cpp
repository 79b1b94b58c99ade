// The image area: the mouse on pb1, the viewport surface and the scroll position.

#include <algorithm>

#include "shell/TForm1.h"

namespace mv {

namespace {

// The scroll box's colour, shown where the image area holds no picture.
constexpr ColorRef kButtonFace = 0xF0F0F0;

}  // namespace

void TForm1::pb1MouseDown(const MouseEvent& event) {
  if (!image.Exists()) return;
  const MouseEvent stamped = WithToolMode(event);
  for (const auto& handler : mouseDownHandlers) handler(stamped);
}

void TForm1::pb1MouseMove(const MouseEvent& event) {
  // A long operation is running under its progress dialog: the hourglass and nothing else.
  if (ProgressDialogs > 0) {
    desktop.SetScreenCursor(Cursor::Hourglass);
    return;
  }
  const MouseEvent stamped = WithToolMode(event);
  for (const auto& handler : mouseMoveHandlers) handler(stamped);
}

void TForm1::pb1MouseUp(const MouseEvent& event) {
  const MouseEvent stamped = WithToolMode(event);
  for (const auto& handler : mouseUpHandlers) handler(stamped);
}

MouseEvent TForm1::WithToolMode(const MouseEvent& event) const {
  MouseEvent stamped = event;
  stamped.toolMode = Tag;
  return stamped;
}

Point TForm1::ClampToImageArea(int x, int y) const {
  return {std::clamp(x, 0, std::max(0, view.im1.width)), std::clamp(y, 0, std::max(0, view.im1.height))};
}

Point TForm1::ClampScroll(Point position) const {
  const Size client = desktop.ImageAreaClientSize();
  const int32_t rangeX = view.autoScroll ? std::max(0, view.im1.width - client.width) : 0;
  const int32_t rangeY = view.autoScroll ? std::max(0, view.im1.height - client.height) : 0;
  return {std::clamp(position.x, 0, rangeX), std::clamp(position.y, 0, rangeY)};
}

void TForm1::SetIm1Size(Size size) {
  view.im1 = size;
  view.scroll = ClampScroll(view.scroll);
}

ViewportScene TForm1::CurrentScene() {
  view.scroll = ClampScroll(view.scroll);
  ViewportScene scene;
  scene.picture = image.Exists() ? &image.Picture() : nullptr;
  scene.pictureVersion = image.Version();
  scene.display = view.im1;
  scene.scroll = view.scroll;
  scene.background = kButtonFace;
  return scene;
}

void TForm1::RefreshImageArea() {
  area.Compose(CurrentScene(), ImageAreaSize());
  desktop.RepaintImageArea();
}

void TForm1::UpdateImageArea() {
  if (area.NeedsCompose(CurrentScene(), ImageAreaSize())) RefreshImageArea();
}

}  // namespace mv
