// The selection rectangle: its outline on pb1, its size in status panel 3, removing it, and its
// conversion to the processing rectangle in image pixels.

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

}  // namespace mv
