// The processing frame (see ProcessingFrame.h): the region copy, putting a result back and the
// sequence every pixel-changing command runs through.

#include "shell/ProcessingFrame.h"

#include <stdexcept>
#include <utility>

#include "shell/TForm1.h"
#include "shell/UndoRecording.h"

namespace mv {

namespace {

bool CanvasCanDrawOn(const Bitmap& bitmap) {
  return bitmap.Format() == PixelFormat::Bgr24 || bitmap.Format() == PixelFormat::Bgrx32;
}

}  // namespace

std::optional<Bitmap> TForm1::CopyRegion(const Rect& rect) {
  try {
    if (rect.Width() <= 0 || rect.Height() <= 0) throw std::invalid_argument("empty region");
    const Bitmap& picture = image.Picture();
    if (rect == Rect{0, 0, picture.Width(), picture.Height()} && picture.Format() == PixelFormat::Bgr24) {
      Bitmap copy = TakeSpareFor(picture);
      copy = picture;  // into the spare's memory when it has the size
      return copy;
    }
    Bitmap copy = picture.CopyRegion(rect.left, rect.top, rect.Width(), rect.Height());
    if (copy.Format() != PixelFormat::Bgr24) copy = copy.ToBgr24();
    return copy;
  } catch (const std::exception&) {
    desktop.ShowMessageBox(BoxKind::Error, "矩形領域の選択に失敗しました", kOK, 0);
    SetMessage("矩形領域の選択に失敗しました(作者へ連絡してください)");
    return std::nullopt;
  }
}

void TForm1::DrawOntoWorkingImage(const Bitmap& result, int32_t left, int32_t top) {
  if (!CanvasCanDrawOn(image.Picture())) {
    // Drawing colours into a palette would lose them; the picture becomes a colour picture.
    image.Replace(image.Picture().ToBgr24());
    ShowImageSizeAndDepth();
  }
  Canvas canvas(image.Edit());
  canvas.Draw(left, top, result, rop::kSrcCopy);
}

void TForm1::ShowImageSizeAndDepth() {
  controls.sb1[2].text = std::to_string(image.Width()) + "x" + std::to_string(image.Height());
  controls.sb1[4].text = std::to_string(image.Exists() ? image.Picture().BitsPerPixel() : 0) + " bit";
}

bool TForm1::RunProcessingFrame(const FrameCommand& command) {
  const Rect rect = GetProcessingRect();
  const Rect whole{0, 0, image.Width(), image.Height()};
  std::optional<Bitmap> copy = CopyRegion(rect);
  if (!copy) return false;
  history.ReleaseSpares();  // the copy has taken what it needed; the work's allocations take the rest
  if (command.askParameters && !command.askParameters(*copy)) return false;
  std::optional<Bitmap> result = command.work(*copy, rect);
  if (!result) {
    if (command.recordWithoutResult) RecordUndo();
    return false;
  }
  const bool otherShape = result->Width() != whole.right || result->Height() != whole.bottom;
  if (rect == whole && (otherShape || !CanvasCanDrawOn(image.Picture()))) {
    // The whole picture is replaced; a rotation thereby changes its dimensions.
    image.Replace(std::move(*result));
    ShowImageSizeAndDepth();
  } else if (rect == whole && result->Format() == image.Picture().Format()) {
    // Drawing it would copy every byte: the result becomes the picture, and the old picture's
    // memory is kept for the recording.
    std::swap(image.Edit(), *result);
    KeepForRecording(std::move(*result));
  } else {
    DrawOntoWorkingImage(*result, rect.left, rect.top);
    KeepForRecording(std::move(*result));
  }
  KeepForRecording(std::move(*copy));
  copy.reset();
  result.reset();
  // Recorded before the selection, the figures or the zoom follow the new picture: a change that
  // memory did not allow to record is taken back, and then they stay as they were.
  const RecordOutcome recorded = RecordUndoOrRecover(*this);
  if (recorded != RecordOutcome::TakenBack && command.afterPlacing) command.afterPlacing(rect);
  if (recorded != RecordOutcome::Recorded) throw RecordingError(recorded);
  return true;
}

}  // namespace mv
