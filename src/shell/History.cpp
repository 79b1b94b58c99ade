// The undo cache: recording, clearing, undo and redo with the undo button; and the enabling of the
// image-dependent menu items.

#include <algorithm>
#include <chrono>
#include <future>
#include <new>
#include <system_error>

#include "shell/TForm1.h"
#include "shell/UndoRecording.h"

namespace mv {

namespace {

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

Bitmap HistoryState::TakeSpareFor(const Bitmap& picture) {
  CollectPreparedSpare();
  for (auto spare = spareEntries.begin(); spare != spareEntries.end(); ++spare) {
    if (PixelBytes(*spare) == PixelBytes(picture)) {
      Bitmap memory = std::move(*spare);
      spareEntries.erase(spare);
      return memory;
    }
  }
  return Bitmap();
}

Bitmap HistoryState::MakeEntry(const Bitmap& picture) {
  CollectPreparedSpare();
  const auto next = static_cast<std::size_t>(UndoPosition + 1);
  // StoreEntry moves the entries from `next` on among the spares; a failed copy below returns one.
  UndoCache.reserve(next + 1);
  spareEntries.reserve(spareEntries.size() + (UndoCache.size() > next ? UndoCache.size() - next : 0) + 1);
  Bitmap entry = TakeSpareFor(picture);
  try {
    entry = picture;  // into the spare's memory when it has the size
  } catch (const std::bad_alloc&) {
    if (!entry.IsEmpty()) spareEntries.push_back(std::move(entry));
    throw;
  }
  return entry;
}

void HistoryState::Record(const Bitmap& picture) {
  const auto next = static_cast<std::size_t>(UndoPosition + 1);
  if (next == UndoCache.size()) {
    StoreEntry(MakeEntry(picture));
    return;
  }
  // Undo steps were taken: the entry ahead is overwritten (a copy into memory of its size takes no
  // new memory, and one that fails leaves it as it was); the entries after it go, kept as spares.
  spareEntries.reserve(spareEntries.size() + (UndoCache.size() - next - 1));
  UndoCache[next] = picture;
  for (std::size_t i = next + 1; i < UndoCache.size(); ++i) spareEntries.push_back(std::move(UndoCache[i]));
  UndoCache.resize(next + 1);
  UndoPosition = static_cast<int32_t>(next);
  TrimSpares(spareEntries);
}

void HistoryState::StoreEntry(Bitmap entry) {
  const auto next = static_cast<std::size_t>(UndoPosition + 1);
  const bool appending = next == UndoCache.size();
  if (appending) {
    UndoCache.push_back(std::move(entry));  // room was reserved by MakeEntry
  } else {
    // Undo steps were taken: the entries ahead go, their memory kept aside.
    for (std::size_t i = next + 1; i < UndoCache.size(); ++i) spareEntries.push_back(std::move(UndoCache[i]));
    UndoCache.resize(next + 1);
    spareEntries.push_back(std::move(UndoCache[next]));
    UndoCache[next] = std::move(entry);
  }
  UndoPosition = static_cast<int32_t>(next);
  TrimSpares(spareEntries);
  // The cache grew by a picture: the next command will need as much memory again.
  if (appending) PrepareSpareFor(UndoCache[next]);
}

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
  try {
    preparedSpare = std::async(std::launch::async, [width, height, format] {
      return Bitmap(width, height, format, PixelBuffer::Fill::ZeroPrepared);
    });
  } catch (const std::system_error&) {
    // No thread for it: the next command allocates its own memory, as it would have anyway.
  } catch (const std::bad_alloc&) {
  }
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
  return history.TakeSpareFor(picture);
}

void TForm1::KeepForRecording(Bitmap bitmap) {
  if (!settings.NoCache && !bitmap.IsEmpty()) history.spareEntries.push_back(std::move(bitmap));
}

void TForm1::RecordUndo() {
  const RecordOutcome outcome = RecordUndoOrRecover(*this);
  if (outcome != RecordOutcome::Recorded) throw RecordingError(outcome);
}

namespace {

void ShowCacheLength(TForm1& form) {
  form.controls.sb1[5].text =
      " Cache " + std::to_string(std::max<std::size_t>(form.history.UndoCache.size(), 1) - 1);
}

// The working image made the entry at UndoPosition again, after a change that could not be
// recorded. False when not even that memory could be had.
bool TakeBackUnrecordedChange(TForm1& form) {
  HistoryState& history = form.history;
  if (history.UndoPosition < 0) return false;
  const Bitmap& recorded = history.UndoCache[static_cast<std::size_t>(history.UndoPosition)];
  try {
    if (PixelBytes(form.image.Picture()) == PixelBytes(recorded)) {
      form.image.CopyFrom(recorded);  // into the picture's own memory: nothing to allocate
    } else {
      Bitmap picture = history.TakeSpareFor(recorded);
      picture = recorded;
      form.image.Replace(std::move(picture));
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  form.ShowImageSizeAndDepth();
  form.StepZoom(0);
  return true;
}

}  // namespace

RecordOutcome RecordUndoOrRecover(TForm1& form) {
  HistoryState& history = form.history;
  if (form.settings.NoCache || !form.image.Exists()) {
    history.DropPreparedSpare();
    history.spareEntries.clear();
    return RecordOutcome::Recorded;
  }
  try {
    history.Record(form.image.Picture());
    ShowCacheLength(form);
    return RecordOutcome::Recorded;
  } catch (const std::bad_alloc&) {
  }
  if (TakeBackUnrecordedChange(form)) return RecordOutcome::TakenBack;
  // The picture stays as the command made it; the history goes, and with its memory given back the
  // picture is recorded anew if it can be.
  form.ClearUndo();
  try {
    history.Record(form.image.Picture());
  } catch (const std::bad_alloc&) {
  }
  ShowCacheLength(form);
  return RecordOutcome::CacheEmptied;
}

OutOfMemoryError RecordingError(RecordOutcome outcome) {
  return OutOfMemoryError(outcome == RecordOutcome::TakenBack
                              ? "Out of memory for the undo cache: the change was taken back"
                              : "Out of memory for the undo cache: it was emptied to keep the picture");
}

Bitmap MakeUndoEntryFor(TForm1& form, const Bitmap& picture) {
  if (form.settings.NoCache) return Bitmap();
  try {
    return form.history.MakeEntry(picture);
  } catch (const std::bad_alloc&) {
    form.ClearUndo();
    return form.history.MakeEntry(picture);
  }
}

void StoreUndoEntry(TForm1& form, Bitmap entry) {
  if (form.settings.NoCache || entry.IsEmpty()) {
    form.RecordUndo();  // records nothing and lets the spares go
    return;
  }
  form.history.StoreEntry(std::move(entry));
  ShowCacheLength(form);
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
  // Into the working image's own memory where the size allows; a copy that cannot be made changes
  // nothing (the callers then put the position back).
  image.CopyFrom(history.UndoCache[static_cast<std::size_t>(history.UndoPosition)]);
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
  try {
    ShowUndoEntry();
  } catch (const std::bad_alloc&) {
    ++history.UndoPosition;
    throw;
  }
  SetMessage("画像を元に戻しました");
}

void TForm1::N11Click() {
  if (int64_t{history.UndoPosition} >= static_cast<int64_t>(history.UndoCache.size()) - 1) {
    SetMessage("現在の画像が最新の画像です");
    return;
  }
  ++history.UndoPosition;
  try {
    ShowUndoEntry();
  } catch (const std::bad_alloc&) {
    --history.UndoPosition;
    throw;
  }
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
