// The selection rectangle: dragging it in tool mode 0 (corners snapped to image pixels above 100 %,
// corners grabbed again, zero sizes discarded), select all, its outline on pb1, its size or the
// pointer's image position in status panel 3, removing it, and its conversion to the processing
// rectangle in image pixels.

#include <algorithm>
#include <cstdlib>

#include "shell/TForm1.h"

namespace mv {

void TForm1::DrawSelectionOutline() {
  const Point a = selection.SelectionStart, b = selection.SelectionEnd;
  if (a.x < 0 || a.y < 0 || b.x < 0 || b.y < 0) return;
  // Inverting: drawing the same outline again erases it.
  Canvas& canvas = area.pb1Canvas();
  canvas.SetPenMode(PenMode::Not);
  canvas.SetBrushStyle(BrushStyle::Clear);
  canvas.Rectangle(a.x, a.y, b.x, b.y);
}

void TForm1::ShowSelectionSize() {
  const Point a = selection.SelectionStart, b = selection.SelectionEnd;
  const int64_t width = std::min<int64_t>(ViewToImage(std::abs(int64_t{b.x} - a.x)), image.Width());
  const int64_t height = std::min<int64_t>(ViewToImage(std::abs(int64_t{b.y} - a.y)), image.Height());
  controls.sb1[3].text = IntToStr(width) + "x" + IntToStr(height);
}

void TForm1::RemoveSelection() {
  if (selection.SelectionActive) DrawSelectionOutline();
  selection.SelectionStart = {-1, -1};
  selection.SelectionEnd = {-1, -1};
  controls.sb1[3].text.clear();
  selection.SelectionActive = false;
  selection.SelectionDragging = false;
}

Rect TForm1::GetProcessingRect() {
  const int32_t width = image.Width(), height = image.Height();
  if (!selection.SelectionActive) return {0, 0, width, height};
  Point& start = selection.SelectionStart;
  Point& end = selection.SelectionEnd;
  const Point topLeft{std::min(start.x, end.x), std::min(start.y, end.y)};
  const Point bottomRight{std::max(start.x, end.x), std::max(start.y, end.y)};
  start = topLeft;
  end = bottomRight;
  // The rounding of the zoom conversion (and a corner grabbed while none was shown, at -1) may
  // reach past the picture; what lies outside it is no part of the image to process.
  const auto inside = [](int64_t value, int32_t limit) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, limit));
  };
  return {inside(ViewToImage(topLeft.x), width), inside(ViewToImage(topLeft.y), height),
          inside(ViewToImage(bottomRight.x), width), inside(ViewToImage(bottomRight.y), height)};
}

int64_t TForm1::ViewToImage(int64_t viewCoordinate) const {
  return RoundHalfEven(static_cast<Extended>(viewCoordinate) / view.ZoomFactor);
}

int32_t TForm1::SnapToImagePixels(int32_t viewCoordinate) const {
  if (view.ZoomFactor <= 1) return viewCoordinate;
  const Extended imagePixels = static_cast<Extended>(ViewToImage(viewCoordinate));
  return RoundToInt32(imagePixels * view.ZoomFactor);
}

bool TForm1::GrabSelectionCorner(int x, int y) {
  const Point start = selection.SelectionStart, end = selection.SelectionEnd;
  // Without a selection the corners hold -1, which is no corner to take hold of: a drag started
  // beside the picture's top-left corner would otherwise keep -1 as its first corner.
  if (start.x < 0 || start.y < 0 || end.x < 0 || end.y < 0) return false;
  const auto near = [](int64_t a, int64_t b) { return std::abs(a - b) < 5; };
  const bool nearL = near(x, start.x), nearT = near(y, start.y);
  const bool nearR = near(x, end.x), nearB = near(y, end.y);
  // The drag moves SelectionEnd, so the grabbed corner becomes SelectionEnd.
  if (nearR && nearB) return true;
  if (nearR && nearT) {
    selection.SelectionStart = {start.x, end.y};
    selection.SelectionEnd = {end.x, start.y};
    return true;
  }
  if (nearL && nearB) {
    selection.SelectionStart = {end.x, start.y};
    selection.SelectionEnd = {start.x, end.y};
    return true;
  }
  if (nearL && nearT) {
    selection.SelectionStart = end;
    selection.SelectionEnd = start;
    return true;
  }
  return false;
}

void TForm1::A2Click() {
  // A shown outline goes first, so the new one is not drawn over it.
  if (selection.SelectionActive) DrawSelectionOutline();
  selection.SelectionStart = {0, 0};
  selection.SelectionEnd = {view.im1.width, view.im1.height};
  DrawSelectionOutline();
  ShowSelectionSize();
  selection.SelectionActive = true;
}

void TForm1::SelectionMouseDown(const MouseEvent& event) {
  if (event.toolMode != kSelectionMode || event.button != MouseButton::Left) return;
  const Point press = ClampToImageArea(event.x, event.y);
  if (GrabSelectionCorner(press.x, press.y)) {
    selection.SelectionDragging = true;
    return;
  }
  if (selection.SelectionActive) {
    DrawSelectionOutline();
    selection.SelectionStart = {-1, -1};
    selection.SelectionEnd = {-1, -1};
    controls.sb1[3].text.clear();
    selection.SelectionActive = false;
  }
  const Point snapped{SnapToImagePixels(press.x), SnapToImagePixels(press.y)};
  selection.SelectionStart = snapped;
  selection.SelectionEnd = snapped;
  selection.SelectionDragging = true;
}

void TForm1::SelectionMouseMove(const MouseEvent& event) {
  const Point pointer = ClampToImageArea(event.x, event.y);
  if (event.toolMode == kSelectionMode && selection.SelectionDragging) {
    DrawSelectionOutline();
    selection.SelectionEnd = {SnapToImagePixels(pointer.x), SnapToImagePixels(pointer.y)};
    DrawSelectionOutline();
    ShowSelectionSize();
    return;
  }
  // Without a selection size in the panel, it shows where the pointer is in the image.
  std::string& panel = controls.sb1[3].text;
  if (!image.Exists() || panel.find('x') != std::string::npos) return;
  panel = IntToStr(std::min<int64_t>(ViewToImage(pointer.x), image.Width())) + "," +
          IntToStr(std::min<int64_t>(ViewToImage(pointer.y), image.Height()));
}

void TForm1::SelectionMouseUp(const MouseEvent& event) {
  if (event.toolMode == kSelectionMode && selection.SelectionDragging) {
    selection.SelectionDragging = false;
    const Point start = selection.SelectionStart, end = selection.SelectionEnd;
    selection.SelectionActive = start.x != end.x && start.y != end.y;
    if (!selection.SelectionActive) {
      selection.SelectionStart = {-1, -1};
      selection.SelectionEnd = {-1, -1};
    }
    return;
  }
  if (event.button == MouseButton::Right) return;
  // The outline stays on the surface until the next repaint.
  selection.SelectionStart = {-1, -1};
  selection.SelectionEnd = {-1, -1};
  selection.SelectionActive = false;
}

}  // namespace mv
