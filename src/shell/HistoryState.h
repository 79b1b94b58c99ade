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
  // Memory for the next recording: an entry of a discarded redo branch or a command's work copy,
  // so that recording copies into pages already mapped instead of faulting in fresh ones (which
  // costs about ten times the copy). At most one is kept between recordings.
  std::vector<Bitmap> spareEntries;
};

}  // namespace mv
