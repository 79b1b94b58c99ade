// The Edit menu's geometry commands: rotating, mirroring and flipping the processing rectangle
// through the processing frame, and resizing the whole image.

#include "geometry/GeometryCommands.h"

#include "colour/Resample.h"
#include "colour/Transform.h"
#include "optionlib/OptionLibrary.h"
#include "shell/CursorScope.h"
#include "shell/ProcessingFrame.h"
#include "shell/TForm1.h"

namespace mv {

GeometryCommands::GeometryCommands(TForm1& form) : form(form) {
  const auto add = [&form](const char* name, const char* caption, std::function<void()> handler,
                           const char* shortcut) {
    form.menus.Add("N4", MakeMenuItem(name, caption, std::move(handler), shortcut)).enabled = false;
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
  form.controls.SetButtonHandler("BitBtn5", [this] { BitBtn5Click(); });
  form.controls.SetButtonHandler("BitBtn6", [this] { BitBtn6Click(); });
}

void GeometryCommands::N901Click() {
  TransformRegion(kRotateClockwise);
}

void GeometryCommands::N902Click() {
  TransformRegion(kRotateCounterClockwise);
}

void GeometryCommands::N26Click() {
  TransformRegion(kMirrorLeftRight);
}

void GeometryCommands::N27Click() {
  TransformRegion(kFlipTopBottom);
}

void GeometryCommands::BitBtn5Click() {
  form.menus.Open(form.menus.Get("N4"));
  form.menus.Click("N902");
}

void GeometryCommands::BitBtn6Click() {
  form.menus.Open(form.menus.Get("N4"));
  form.menus.Click("N901");
}

void GeometryCommands::TransformRegion(int code) {
  const HourglassScope hourglass(form.desktop);
  const Rect whole{0, 0, form.image.Width(), form.image.Height()};
  FrameCommand command;
  command.work = [code](Bitmap& copy, const Rect&) -> std::optional<Bitmap> {
    return TransformPixels(code, copy);
  };
  command.afterPlacing = [this, code, whole](const Rect& rect) {
    form.StepZoom(0);
    if (SwapsSides(code)) {
      // The selection keeps its first corner and exchanges its width and height.
      const Point start = form.selection.SelectionStart, end = form.selection.SelectionEnd;
      form.selection.SelectionEnd = {start.x + (end.y - start.y), start.y + (end.x - start.x)};
      if (form.selection.SelectionActive) form.ShowSelectionSize();
    }
    if (rect == whole) TransformFigures(code);
  };
  form.RunProcessingFrame(command);
}

void GeometryCommands::TransformFigures(int code) {
  const int width = form.image.Width(), height = form.image.Height();
  for (TFigure& figure : form.measurements.Figures) {
    for (TFigurePoint& point : figure.Points) {
      const RealPoint moved = TransformPoint(code, {point.X, point.Y}, width, height);
      point = {moved.x, moved.y};
    }
  }
}

void GeometryCommands::N52Click() {
  Point size;
  const bool called = form.WithOptionLibrary([&](OptionSession& library) {
    size = library.GetPointAndSize({form.image.Width(), form.image.Height()}, 1);
  });
  if (!called) return;
  if (size == Point{-1, -1}) {
    form.SetMessage("画像のサイズ変更をキャンセルしました");
    return;
  }
  if (size == Point{-2, -2}) {
    form.SetMessage("画像のサイズ変更フォールでエラーが発生");
    return;
  }
  const HourglassScope hourglass(form.desktop);
  std::optional<Bitmap> resized = ResampleBitmap(form.image.Picture(), size.x, size.y, form.GetFeedback());
  if (!resized) {
    form.SetMessage("画像のサイズ変更に失敗しました");
    return;
  }
  // The view size is checked before anything changes, as loading does.
  const Size viewSize{RoundToInt32(resized->Width() * form.view.ZoomFactor),
                      RoundToInt32(resized->Height() * form.view.ZoomFactor)};
  form.image.Replace(std::move(*resized));
  form.SetIm1Size(viewSize);
  // The selection's corners belong to the old size.
  if (form.selection.SelectionActive) form.RemoveSelection();
  form.selection.SelectionDragging = false;
  form.ShowFileStatus(form.controls.sb1Hint);
  form.StepZoom(0);
  form.RecordUndo();
  form.SetMessage("画像のサイズを変更しました");
}

}  // namespace mv
