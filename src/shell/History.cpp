// The undo cache's recording and clearing, and the image-dependent menu items.

#include "shell/TForm1.h"

namespace mv {

void TForm1::RecordUndo() {
  if (settings.NoCache || !image.Exists()) return;
  std::vector<Bitmap>& cache = history.UndoCache;
  const auto length = static_cast<int64_t>(cache.size());
  if (length == int64_t{history.UndoPosition} + 1) {
    cache.emplace_back();
    history.UndoPosition = static_cast<int32_t>(length);
  } else {
    ++history.UndoPosition;
    cache.resize(static_cast<std::size_t>(history.UndoPosition) + 1);
  }
  cache[static_cast<std::size_t>(history.UndoPosition)] = image.Picture();
  controls.sb1[5].text = " Cache " + std::to_string(cache.size() - 1);
}

void TForm1::ClearUndo() {
  history.UndoCache.clear();
  history.UndoCache.shrink_to_fit();
  history.UndoPosition = -1;
  controls.sb1[5].text = " Cache 0";
}

void TForm1::EnableImageCommands(bool enabled) {
  for (const char* name : {"A2", "D1", "N52", "N901", "N902", "N26", "N27", "S1"})
    menus.SetEnabled(name, enabled);
}

}  // namespace mv
