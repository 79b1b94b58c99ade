#pragma once
// The undo cache: full copies of the working image, entry 0 the first image recorded after the cache
// was last emptied, and the position of the entry equal to the working image (-1 when empty).

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"

namespace mv {

struct HistoryState {
  std::vector<Bitmap> UndoCache;
  int32_t UndoPosition = -1;
  // Entries of a discarded redo branch, kept so that the next recordings copy into memory that is
  // already mapped instead of faulting in fresh pages. Never more than the cache held before.
  std::vector<Bitmap> spareEntries;
};

}  // namespace mv
