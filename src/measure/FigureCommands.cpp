// Commands on the figures as a whole: writing them into the image, clearing all or one of them,
// and filling the processing rectangle with white or black.

#include <algorithm>

#include "measure/MeasureForm.h"

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

// Replaces the working image; the depth panel follows a change of depth.
void ReplaceWorkingImage(TForm1& form, Bitmap picture) {
  const int depthBefore = form.image.Picture().BitsPerPixel();
  form.image.Replace(std::move(picture));
  const int depth = form.image.Picture().BitsPerPixel();
  if (depth != depthBefore) form.controls.sb1[4].text = IntToStr(depth) + " bit";
}

}  // namespace

void TForm1::W1Click() {
  const BoxButton answer = desktop.ShowMessageBox(
      BoxKind::Warning,
      "この操作をすると、「点/図形のクリア」を実行しても\r\n消えなくなります\r\n"
      "画像を元に戻すには、メニューの「編集」にある\r\n「画像を元に戻す」をクリックしてください\r\n\r\n"
      "図形を書き込みますか？",
      kOK | kCancel, 0);
  if (answer != kOK || !image.Exists()) return;
  {
    // One view pixel per image pixel while the overlay is drawn into a copy of the picture.
    const ValueScope<Extended> imageScale(view.ZoomFactor, 1.0L);
    Bitmap work = DrawableCopy(image.Picture());
    {
      Canvas canvas(work);
      DrawFigures(canvas);
    }
    ReplaceWorkingImage(*this, std::move(work));
  }
  // Recorded after the change, as every command records its result: undo returns the picture
  // without the figures, and redo brings them back.
  RecordUndo();
  if (desktop.ShowMessageBox(BoxKind::Confirmation, "\r\n図形の座標（単位長さ含む）を削除しますか？",
                             kYes | kNo, 0) == kYes) {
    measure.Figures.clear();
    measure.CalibrationPoints.clear();
  }
}

void TForm1::N16Click() {
  measure.Figures.clear();
  measure.CurrentFigure = -1;
  Tag = 0;
  RefreshImageArea();
  SetMessage("図形をクリアしました");
}

void TForm1::N61Click() {
  Tag = -5;
  measure.CurrentFigure = -1;
  measure.CurrentPoint = -1;
  const char* text = "消去したい図形の頂点をクリックしてください";
  ShowGuidance(*this, text);
  SetMessage(text);
}

void TForm1::CompactFigures() {
  std::erase_if(measure.Figures, [](const TFigure& figure) { return figure.Points.empty(); });
  measure.CurrentFigure = -1;
  measure.CurrentPoint = -1;
}

void TForm1::FillSelection(ColorRef color) {
  if (!image.Exists()) return;
  const Rect rect = GetProcessingRect();
  if (!Drawable(image.Picture())) ReplaceWorkingImage(*this, DrawableCopy(image.Picture()));
  Canvas canvas(image.Edit());
  canvas.SetPenMode(PenMode::Copy);
  canvas.SetPenColor(color);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColor(color);
  canvas.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
  // Recorded after the fill, as every command records its result, so redo brings the fill back.
  RecordUndo();
}

void TForm1::W3Click() {
  FillSelection(colors::kWhite);
}

void TForm1::B1Click() {
  FillSelection(colors::kBlack);
}

}  // namespace mv
