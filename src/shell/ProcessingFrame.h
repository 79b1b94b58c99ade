#pragma once
// The processing frame: the one way a command changes pixels of the working image. The command
// gives its own parts; TForm1::RunProcessingFrame does the rest in this order:
//
//   1. R = the processing rectangle (GetProcessingRect);
//   2. C = CopyRegion(R), 24 bits per pixel (on failure: the error box and message; stop);
//   3. askParameters(C) when given (the option dialog); stop when it answers false;
//   4. work(C, R): the command's pixel work; no result means cancelled or failed (the work has
//      said why on the message line); stop (after RecordUndo when recordWithoutResult is set);
//   5. the result goes back onto the working image with its top-left corner at (R.left, R.top);
//      when R is the whole image and the result has other dimensions (a rotation), the result
//      replaces the working image;
//   6. RecordUndo;
//   7. afterPlacing(R) when given (re-applying the zoom, moving the selection or the figures).
//
// Stopping anywhere leaves the working image as it was and records nothing. When memory for the
// undo entry runs out, the change is taken back and afterPlacing does not run (see
// UndoRecording.h; if not even that memory can be had, the cache is emptied and the change kept). The copy,
// the result and whatever the command's functions hold are released on every path, exceptions included (those
// propagate to the command runner, which reports them).

#include <functional>
#include <optional>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

namespace mv {

struct FrameCommand {
  std::function<bool(const Bitmap& copy)> askParameters;  // may be empty
  std::function<std::optional<Bitmap>(Bitmap& copy, const Rect& rect)> work;
  std::function<void(const Rect& rect)> afterPlacing;  // may be empty
  // The colour commands record the working image also after a cancelled run (an entry equal to the
  // one before it).
  bool recordWithoutResult = false;
};

}  // namespace mv
