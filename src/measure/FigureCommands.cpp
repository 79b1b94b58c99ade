// Commands on the figures as a whole: writing them into the image, clearing all or one of them,
// and filling the processing rectangle with white or black.

#include <algorithm>

#include "measure/MeasureCommands.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

bool Drawable(const Bitmap& bitmap) {
  return bitmap.Format() == PixelFormat::Bgr24 || bitmap.Format() == PixelFormat::Bgrx32;
}

// The picture with pixels a canvas can draw on: another depth (indexed, 16-bit) becomes 24-bit, so
// the figures and fills keep their exact colours.
Bitmap DrawableCopy(const Bitmap& picture) {
  return Drawable(picture) ? picture : picture.ToBgr24();
}

}  // namespace

void MeasureCommands::ReplaceWorkingImage(Bitmap picture) {
  const int depthBefore = form.image.Picture().BitsPerPixel();
  form.image.Replace(std::move(picture));
  const int depth = form.image.Picture().BitsPerPixel();
  if (depth != depthBefore) form.controls.sb1[4].text = IntToStr(depth) + " bit";
}

void MeasureCommands::W1Click() {
  const BoxButton answer = form.desktop.ShowMessageBox(
      BoxKind::Warning,
      "この操作をすると、「点/図形のクリア」を実行しても\r\n消えなくなります\r\n"
      "画像を元に戻すには、メニューの「編集」にある\r\n「画像を元に戻す」をクリックしてください\r\n\r\n"
      "図形を書き込みますか？",
      kOK | kCancel, 0);
  if (answer != kOK || !form.image.Exists()) return;
  {
    // One view pixel per image pixel while the overlay is drawn into a copy of the picture.
    const ValueScope<Extended> imageScale(form.view.ZoomFactor, 1.0L);
    Bitmap work = DrawableCopy(form.image.Picture());
    {
      Canvas canvas(work);
      DrawFigures(canvas);
    }
    ReplaceWorkingImage(std::move(work));
  }
  // Recorded after the change, as every command records its result: undo returns the picture
  // without the figures, and redo brings them back.
  form.RecordUndo();
  if (form.desktop.ShowMessageBox(BoxKind::Confirmation, "\r\n図形の座標（単位長さ含む）を削除しますか？",
                                  kYes | kNo, 0) == kYes) {
    form.measurements.Figures.clear();
    form.measurements.CalibrationPoints.clear();
  }
}

void MeasureCommands::N16Click() {
  form.measurements.Figures.clear();
  input.CurrentFigure = -1;
  form.Tag = kSelectionMode;
  form.RefreshImageArea();
  form.SetMessage("図形をクリアしました");
}

void MeasureCommands::N61Click() {
  form.Tag = kPickFigureToDelete;
  input.CurrentFigure = -1;
  input.CurrentPoint = -1;
  const char* text = "消去したい図形の頂点をクリックしてください";
  ShowGuidance(text);
  form.SetMessage(text);
}

void MeasureCommands::CompactFigures() {
  std::erase_if(form.measurements.Figures, [](const TFigure& figure) { return figure.Points.empty(); });
  input.CurrentFigure = -1;
  input.CurrentPoint = -1;
}

void MeasureCommands::FillSelection(ColorRef color) {
  if (!form.image.Exists()) return;
  const Rect rect = form.GetProcessingRect();
  if (!Drawable(form.image.Picture())) ReplaceWorkingImage(DrawableCopy(form.image.Picture()));
  Canvas canvas(form.image.Edit());
  canvas.SetPenMode(PenMode::Copy);
  canvas.SetPenColor(color);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColor(color);
  canvas.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
  // Recorded after the fill, as every command records its result, so redo brings the fill back.
  form.RecordUndo();
}

void MeasureCommands::W3Click() {
  FillSelection(colors::kWhite);
}

void MeasureCommands::B1Click() {
  FillSelection(colors::kBlack);
}

}  // namespace mv
