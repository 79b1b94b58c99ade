#pragma once
// Recording the working image in the undo cache when memory may run out. An entry is made before
// the cache changes, so a failed allocation leaves the cache as it was; what happens to the
// working image then is one of the outcomes below, and the cache always holds, at its position,
// the working image or nothing.

#include "platform/Bitmap.h"
#include "platform/OutOfMemory.h"

namespace mv {

class TForm1;

enum class RecordOutcome {
  Recorded,      // the working image is the entry at UndoPosition (or "No Cache" records nothing)
  TakenBack,     // no memory for the entry: the working image is the recorded one again
  CacheEmptied,  // no memory even for taking it back: the cache was emptied to keep the picture,
                 // which is then recorded as entry 0 if memory allows
};

// TForm1::RecordUndo without the throw: records the working image, or recovers as above.
RecordOutcome RecordUndoOrRecover(TForm1& form);
// What RecordUndo reports for an outcome other than Recorded.
OutOfMemoryError RecordingError(RecordOutcome outcome);

// For commands that bring a new picture (loading, pasting as a new image): the entry for `picture`
// made before anything changes, so running out of memory leaves the working image as it was. When
// the first attempt fails the cache is emptied (its memory given back) and the entry made again;
// that failing throws OutOfMemoryError. An empty bitmap under "No Cache".
Bitmap MakeUndoEntryFor(TForm1& form, const Bitmap& picture);
// Stores an entry made by MakeUndoEntryFor once the picture is the working image, as RecordUndo
// would have; takes no new memory for pixels.
void StoreUndoEntry(TForm1& form, Bitmap entry);

}  // namespace mv
