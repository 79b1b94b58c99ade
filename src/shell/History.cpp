// The undo cache: recording, clearing, undo and redo with the undo button; and the enabling of the
// image-dependent menu items.

#include <chrono>
#include <future>
#include <new>

#include "shell/TForm1.h"

namespace mv {

namespace {

bool SameShape(const Bitmap& a, const Bitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.Format() == b.Format();
}

std::size_t PixelBytes(const Bitmap& bitmap) {
  return bitmap.Stride() * static_cast<std::size_t>(bitmap.Height());
}

// At most this many bitmaps are kept aside for the next recordings.
constexpr std::size_t kMaxSpareEntries = 1;

// Keeps the most recent spares only.
void TrimSpares(std::vector<Bitmap>& spares) {
  if (spares.size() > kMaxSpareEntries)
    spares.erase(spares.begin(), spares.end() - static_cast<std::ptrdiff_t>(kMaxSpareEntries));
}

}  // namespace

void HistoryState::CollectPreparedSpare() {
  if (!preparedSpare.valid()) return;
  if (preparedSpare.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  try {
    spareEntries.push_back(preparedSpare.get());
  } catch (const std::bad_alloc&) {
    // No memory for it: whoever needed it allocates its own, as it would have anyway.
  }
}

void HistoryState::PrepareSpareFor(const Bitmap& picture) {
  if (preparedSpare.valid() || PixelBytes(picture) < PixelBuffer::kHugeThreshold) return;
  const int width = picture.Width(), height = picture.Height();
  const PixelFormat format = picture.Format();
  preparedSpare = std::async(std::launch::async, [width, height, format] {
    return Bitmap(width, height, format, PixelBuffer::Fill::ZeroPrepared);
  });
}

void HistoryState::DropPreparedSpare() {
  preparedSpare = std::future<Bitmap>();  // waits for a preparation still running
}

void HistoryState::ReleaseSpares() {
  CollectPreparedSpare();
  spareEntries.clear();
}

void TForm1::RegisterHistoryCommands() {
  menus.Add("N4", MakeMenuItem(
                      "N46", "画像を元に戻す(&Z)", [this] { N46Click(); }, "Ctrl+Z"));
  menus.Add("N4", MakeMenuItem(
                      "N11", "やり直す(&G)", [this] { N11Click(); }, "Ctrl+G"));
  menus.Add("N4", MakeMenuItem(
                      "N5", "コピー(&C)", [this] { N5Click(); }, "Ctrl+C"));
  menus.Add("N4", MakeMenuItem(
                      "N6", "画像中に貼り付け(&P)", [this] { N6Click(); }, "Ctrl+B"));
  menus.Add("N4", MakeMenuItem(
                      "N42", "新規画像として貼り付け(&V)", [this] { N42Click(); }, "Ctrl+V"));
  menus
      .Add("N4", MakeMenuItem(
                     "A2", "全選択(&A)", [this] { A2Click(); }, "Ctrl+A"))
      .enabled = false;
  controls.SetButtonHandler("BitBtn13", [this] { BitBtn13Click(); });
  mouseDownHandlers.push_back([this](const MouseEvent& event) { SelectionMouseDown(event); });
  mouseMoveHandlers.push_back([this](const MouseEvent& event) { SelectionMouseMove(event); });
  mouseUpHandlers.push_back([this](const MouseEvent& event) { SelectionMouseUp(event); });
}

Bitmap TForm1::TakeSpareFor(const Bitmap& picture) {
  history.CollectPreparedSpare();
  std::vector<Bitmap>& spares = history.spareEntries;
  for (auto spare = spares.begin(); spare != spares.end(); ++spare) {
    if (PixelBytes(*spare) == PixelBytes(picture)) {
      Bitmap memory = std::move(*spare);
      spares.erase(spare);
      return memory;
    }
  }
  return Bitmap();
}

void TForm1::KeepForRecording(Bitmap bitmap) {
  if (!settings.NoCache && !bitmap.IsEmpty()) history.spareEntries.push_back(std::move(bitmap));
}

void TForm1::RecordUndo() {
  if (settings.NoCache || !image.Exists()) {
    history.DropPreparedSpare();
    history.spareEntries.clear();
    return;
  }
  std::vector<Bitmap>& cache = history.UndoCache;
  const auto length = static_cast<int64_t>(cache.size());
  const bool appending = length == int64_t{history.UndoPosition} + 1;
  if (appending) {
    cache.push_back(TakeSpareFor(image.Picture()));
    history.UndoPosition = static_cast<int32_t>(length);
  } else {
    // Undo steps were taken: the redo branch goes; the entry at the new position is reused.
    ++history.UndoPosition;
    const auto kept = static_cast<std::size_t>(history.UndoPosition) + 1;
    for (std::size_t i = kept; i < cache.size(); ++i) history.spareEntries.push_back(std::move(cache[i]));
    cache.resize(kept);
  }
  // A copy into an entry of the same shape reuses the entry's memory.
  cache[static_cast<std::size_t>(history.UndoPosition)] = image.Picture();
  TrimSpares(history.spareEntries);
  // The cache grew by a picture: the next command will need as much memory again.
  if (appending) history.PrepareSpareFor(image.Picture());
  controls.sb1[5].text = " Cache " + std::to_string(cache.size() - 1);
}

void TForm1::ClearUndo() {
  history.DropPreparedSpare();
  history.UndoCache.clear();
  history.UndoCache.shrink_to_fit();
  history.spareEntries.clear();
  history.spareEntries.shrink_to_fit();
  history.UndoPosition = -1;
  controls.sb1[5].text = " Cache 0";
}

void TForm1::ShowUndoEntry() {
  const Bitmap& entry = history.UndoCache[static_cast<std::size_t>(history.UndoPosition)];
  if (image.Exists() && SameShape(image.Picture(), entry)) {
    image.Edit() = entry;  // into the working image's own memory
  } else {
    image.Replace(entry);
  }
  ShowImageSizeAndDepth();
  Tag = kSelectionMode;
  StepZoom(0);
}

void TForm1::N46Click() {
  if (history.UndoPosition <= 0) {
    SetMessage("元に戻すための画像がありません");
    return;
  }
  --history.UndoPosition;
  ShowUndoEntry();
  SetMessage("画像を元に戻しました");
}

void TForm1::N11Click() {
  if (int64_t{history.UndoPosition} >= static_cast<int64_t>(history.UndoCache.size()) - 1) {
    SetMessage("現在の画像が最新の画像です");
    return;
  }
  ++history.UndoPosition;
  ShowUndoEntry();
  SetMessage("やり直しました");
}

void TForm1::BitBtn13Click() {
  menus.Open(menus.Get("N4"));
  menus.Click("N46");
}

void TForm1::EnableImageCommands(bool enabled) {
  for (const char* name : {"A2", "D1", "N52", "N901", "N902", "N26", "N27", "S1"})
    menus.SetEnabled(name, enabled);
}

}  // namespace mv
