// The Edit menu's geometry commands: rotating, mirroring and flipping the processing rectangle
// through the processing frame, and resizing the whole image.

#include "colour/Resample.h"
#include "colour/Transform.h"
#include "optionlib/OptionLibrary.h"
#include "shell/CursorScope.h"
#include "shell/ProcessingFrame.h"
#include "shell/TForm1.h"

namespace mv {

void TForm1::RegisterGeometryCommands() {
  const auto add = [this](const char* name, const char* caption, std::function<void()> handler,
                          const char* shortcut) {
    menus.Add("N4", MakeMenuItem(name, caption, std::move(handler), shortcut)).enabled = false;
  };
  add(
      "N901", "時計回りに90°回転(&R)", [this] { N901Click(); }, "Ctrl+R");
  add(
      "N902", "反時計回りに90°回転(&L)", [this] { N902Click(); }, "Ctrl+L");
  add(
      "N26", "左右反転(&T)", [this] { N26Click(); }, "Ctrl+T");
  add(
      "N27", "上下反転(&U)", [this] { N27Click(); }, "Ctrl+U");
  add(
      "N52", "サイズ変更(&S)", [this] { N52Click(); }, "");
  controls.SetButtonHandler("BitBtn5", [this] { BitBtn5Click(); });
  controls.SetButtonHandler("BitBtn6", [this] { BitBtn6Click(); });
}

void TForm1::N901Click() {
  TransformRegion(kRotateClockwise);
}

void TForm1::N902Click() {
  TransformRegion(kRotateCounterClockwise);
}

void TForm1::N26Click() {
  TransformRegion(kMirrorLeftRight);
}

void TForm1::N27Click() {
  TransformRegion(kFlipTopBottom);
}

void TForm1::BitBtn5Click() {
  menus.Open(menus.Get("N4"));
  menus.Click("N902");
}

void TForm1::BitBtn6Click() {
  menus.Open(menus.Get("N4"));
  menus.Click("N901");
}

void TForm1::TransformRegion(int code) {
  const HourglassScope hourglass(desktop);
  const Rect whole{0, 0, image.Width(), image.Height()};
  FrameCommand command;
  command.work = [code](Bitmap& copy, const Rect&) -> std::optional<Bitmap> {
    return TransformPixels(code, copy);
  };
  command.afterPlacing = [this, code, whole](const Rect& rect) {
    StepZoom(0);
    if (SwapsSides(code)) {
      // The selection keeps its first corner and exchanges its width and height.
      const Point start = selection.SelectionStart, end = selection.SelectionEnd;
      selection.SelectionEnd = {start.x + (end.y - start.y), start.y + (end.x - start.x)};
      if (selection.SelectionActive) ShowSelectionSize();
    }
    if (rect == whole) TransformFigures(code);
  };
  RunProcessingFrame(command);
}

void TForm1::TransformFigures(int code) {
  const int width = image.Width(), height = image.Height();
  for (TFigure& figure : measure.Figures) {
    for (TFigurePoint& point : figure.Points) {
      const RealPoint moved = TransformPoint(code, {point.X, point.Y}, width, height);
      point = {moved.x, moved.y};
    }
  }
}

void TForm1::N52Click() {
  Point size;
  const bool called = WithOptionLibrary([&](OptionSession& library) {
    size = library.GetPointAndSize({image.Width(), image.Height()}, 1);
  });
  if (!called) return;
  if (size == Point{-1, -1}) {
    SetMessage("画像のサイズ変更をキャンセルしました");
    return;
  }
  if (size == Point{-2, -2}) {
    SetMessage("画像のサイズ変更フォールでエラーが発生");
    return;
  }
  const HourglassScope hourglass(desktop);
  std::optional<Bitmap> resized = ResampleBitmap(image.Picture(), size.x, size.y, GetFeedback());
  if (!resized) {
    SetMessage("画像のサイズ変更に失敗しました");
    return;
  }
  // The view size is checked before anything changes, as loading does.
  const Size viewSize{RoundToInt32(resized->Width() * view.ZoomFactor),
                      RoundToInt32(resized->Height() * view.ZoomFactor)};
  image.Replace(std::move(*resized));
  SetIm1Size(viewSize);
  // The selection's corners belong to the old size.
  if (selection.SelectionActive) RemoveSelection();
  selection.SelectionDragging = false;
  ShowFileStatus(controls.sb1Hint);
  StepZoom(0);
  RecordUndo();
  SetMessage("画像のサイズを変更しました");
}

}  // namespace mv
