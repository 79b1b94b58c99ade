// The clipboard: copying the processing rectangle, pasting into the image at the rectangle's corner
// and pasting as a new image.

#include "shell/TForm1.h"
#include "shell/UndoRecording.h"

namespace mv {

namespace {

// What the clipboard holds as a picture: a bitmap, else a vector picture rendered at its size.
std::optional<Bitmap> ClipboardPicture(Desktop& desktop) {
  std::optional<Bitmap> picture = desktop.ClipboardBitmap();
  if (!picture) picture = desktop.ClipboardMetafile();
  if (picture && picture->IsEmpty()) picture.reset();
  return picture;
}

}  // namespace

void TForm1::N5Click() {
  if (!image.Exists()) return;
  if (const std::optional<Bitmap> copy = CopyRegion(GetProcessingRect())) desktop.SetClipboardBitmap(*copy);
}

void TForm1::N6Click() {
  // Without a working image there is nothing to paste into.
  if (!image.Exists()) return;
  const Rect rect = GetProcessingRect();
  const std::optional<Bitmap> pasted = ClipboardPicture(desktop);
  if (!pasted) {
    SetMessage("貼り付けようとしたデータは画像データではありませんでした");
    return;
  }
  DrawOntoWorkingImage(*pasted, rect.left, rect.top);
  RemoveSelection();
  EnableImageCommands(true);
  RecordUndo();
  StepZoom(0);
}

void TForm1::N42Click() {
  if (!ConfirmDiscard()) {
    SetMessage("貼り付けをキャンセルしました");
    return;
  }
  if (!PasteAsNewImage()) SetMessage("貼り付けに失敗しました");
}

bool TForm1::PasteAsNewImage() {
  std::optional<Bitmap> pasted = ClipboardPicture(desktop);
  if (!pasted) return false;
  // The view size is checked before anything changes, as loading does.
  const Size viewSize{RoundToInt32(pasted->Width() * view.ZoomFactor),
                      RoundToInt32(pasted->Height() * view.ZoomFactor)};
  // A pasted picture is a colour picture, whatever form the clipboard held it in.
  Bitmap picture = pasted->Format() == PixelFormat::Bgr24 ? std::move(*pasted) : pasted->ToBgr24();
  pasted.reset();
  // The undo entry is made before the picture changes, so memory that runs out leaves it as it was.
  if (!ReadNotDeleteForCopy()) ClearUndo();
  Bitmap entry = MakeUndoEntryFor(*this, picture);
  image.Replace(std::move(picture));
  image.LoadedFormat = kFormatNone;
  SetIm1Size(viewSize);
  if (selection.SelectionActive) {
    RemoveSelection();
    selection.SelectionDragging = false;
  }
  EnableImageCommands(true);
  ShowFileStatus("");
  StepZoom(0);
  controls.sb1Hint.clear();
  image.SetModified(true);
  StoreUndoEntry(*this, std::move(entry));
  return true;
}

}  // namespace mv
