// Bringing an image in: the open command, dropped files, the command line, the load routine and the
// status refresh; and clearing the image.

#include "codecs/ImageFile.h"
#include "shell/CursorScope.h"
#include "shell/PathText.h"
#include "shell/TForm1.h"
#include "shell/UndoRecording.h"

namespace mv {

void TForm1::RegisterFileCommands() {
  menus.Add("N1", MakeMenuItem(
                      "N2", "開く(&O)", [this] { N2Click(); }, "Ctrl+O"));
  menus.Add("N1", MakeMenuItem(
                      "N3", "終了(&Q)", [this] { N3Click(); }, "Ctrl+Q"));
  menus.Add("N4", MakeMenuItem("D1", "画像をクリア(&D)", [this] { D1Click(); })).enabled = false;
}

void TForm1::N2Click() {
  if (!ConfirmDiscard()) return;
  FileDialogRequest request;
  request.kind = FileDialogKind::Open;
  request.filter = "JPG, ビットマップ, GIF, PNGファイル|*.jpg;*.bmp;*.gif;*.png;|全てのファイル (*.*)|*.*";
  request.initialDir = controls.sb1Hint;
  request.options = kHideReadOnly | kPathMustExist | kFileMustExist | kEnableSizing;
  request.picturePreview = true;
  if (const auto chosen = desktop.ShowFileDialog(request)) LoadImageFile(chosen->path, true);
}

void TForm1::WMDropFiles(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  const std::string first = paths.front();
  if (ConfirmDiscard()) LoadImageFile(first, true);
}

bool TForm1::LoadImageFile(const std::string& path, bool withFolder) {
  const HourglassScope hourglass(desktop);
  std::optional<DecodedImage> decoded = ReadImageFile(path);
  if (!decoded) {
    desktop.ShowMessageBox(
        BoxKind::Error, "\r\nファイル：" + FileNamePart(path) + "を読み取ることができませんでした", kOK, 0);
    return false;
  }
  // The view size is checked and the undo entry made before anything changes, so a size that does
  // not fit, or memory that runs out, leaves the previous image, its file and its status in place.
  const Size viewSize{RoundToInt32(decoded->bitmap.Width() * view.ZoomFactor),
                      RoundToInt32(decoded->bitmap.Height() * view.ZoomFactor)};
  Bitmap entry = MakeUndoEntryFor(*this, decoded->bitmap);
  image.Replace(std::move(decoded->bitmap));
  image.LoadedFormat = decoded->format;
  if (withFolder && menus.IsChecked("N33")) {
    ListFolder(path);
    browse.currentIndex = IndexInFolderList(path);
  }
  SetMessage(path);
  SetIm1Size(viewSize);
  EnableImageCommands(true);
  StepZoom(0);
  ClearUndo();
  StoreUndoEntry(*this, std::move(entry));
  ShowFileStatus(path);
  controls.sb1Hint = path;
  image.SetModified(false);
  if (selection.SelectionActive) {
    RemoveSelection();
    selection.SelectionDragging = false;
  }
  return true;
}

void TForm1::ShowFileStatus(const std::string& path) {
  controls.sb1Hint = path;
  controls.sb1[0].text = FileNamePart(path);
  controls.sb1[1].text = FolderPart(path);
  controls.sb1[2].text = std::to_string(image.Width()) + "x" + std::to_string(image.Height());
  controls.sb1[4].text = std::to_string(image.Exists() ? image.Picture().BitsPerPixel() : 0) + " bit";
}

void TForm1::D1Click() {
  if (!ConfirmDiscard()) return;
  if (selection.SelectionActive) {
    RemoveSelection();
    selection.SelectionDragging = false;
  }
  image.Clear();
  SetIm1Size({0, 0});
  EnableImageCommands(false);
  ClearUndo();
  for (int i = 0; i <= 4; ++i) controls.sb1[static_cast<std::size_t>(i)].text.clear();
  // The cleared image came from no file.
  controls.sb1Hint.clear();
  image.LoadedFormat = kFormatNone;
  SetMessage("画像をクリアしました");
}

}  // namespace mv
