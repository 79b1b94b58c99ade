#pragma once
// Mouse buttons and modifier keys as the image area and the wheel receive them.

namespace mv {

enum class MouseButton { Left, Right, Middle };

struct ShiftState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// One press, move or release on the image area, in image-area (content) coordinates.
struct MouseEvent {
  MouseButton button = MouseButton::Left;  // unused for moves
  ShiftState shift;
  int x = 0;
  int y = 0;
  // The tool mode (the window's Tag) when the event arrived. Handlers of the image area decide on
  // this, not on the live Tag, so a handler that changes the mode cannot make a later handler of the
  // same event act as well.
  int toolMode = 0;
};

}  // namespace mv
