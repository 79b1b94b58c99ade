#pragma once
// The undo cache: full copies of the working image, entry 0 the first image recorded after the cache
// was last emptied, and the position of the entry equal to the working image (-1 when empty).

#include <cstdint>
#include <future>
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
  // A spare prepared on a background thread after each recording that appended an entry (the
  // next command will need as much memory again): a zero bitmap of the picture's shape whose memory
  // is already present, so that the next command copies into it instead of faulting in fresh
  // memory (55-70 ms for 36 MB here, against 5 ms for the copy). It joins the spares once ready;
  // until then commands allocate as they would without it. Either way a spare is overwritten in
  // full before use, so results never depend on the preparation's timing.
  std::future<Bitmap> preparedSpare;

  // Records a copy of `picture` after UndoPosition, which moves to it: appended, or in place of the
  // entries an undo left ahead (their memory kept as spares). Throws OutOfMemoryError, and then
  // nothing has changed.
  void Record(const Bitmap& picture);
  // Record in two steps, for commands that make the entry before they change anything.
  // A copy of `picture` for the cache, into a spare of its size when there is one; the room that
  // storing it needs is reserved too. Throws OutOfMemoryError, and then nothing has changed.
  Bitmap MakeEntry(const Bitmap& picture);
  // Stores an entry made by MakeEntry after UndoPosition, which moves to it: appended, or in place
  // of the entries an undo left ahead (they become spares). Takes no new memory for pixels.
  void StoreEntry(Bitmap entry);
  // A spare whose pixel memory has the size of `picture`'s (copying `picture` into it reuses that
  // memory), or an empty bitmap.
  Bitmap TakeSpareFor(const Bitmap& picture);

  // Moves a prepared spare among the spares once its preparation has finished.
  void CollectPreparedSpare();
  // Starts preparing a spare of the picture's shape unless one is being prepared. Pictures below
  // the huge-page size cost little to allocate and are not prepared for; a thread that cannot be
  // started prepares nothing.
  void PrepareSpareFor(const Bitmap& picture);
  // Waits for a preparation still running and lets its bitmap go.
  void DropPreparedSpare();
  // Lets every spare, a prepared one included, go to the pixel buffer reserve, where a command's
  // own allocations (its result, a filter's padded copy) find its memory present.
  void ReleaseSpares();
};

}  // namespace mv
