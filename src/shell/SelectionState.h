#pragma once
// The selection rectangle in view (pb1) coordinates; (-1, -1) corners when there is none.

#include "platform/Geometry.h"

namespace mv {

struct SelectionState {
  Point SelectionStart{-1, -1};
  Point SelectionEnd{-1, -1};
  bool SelectionActive = false;    // shown, and defines the processing rectangle
  bool SelectionDragging = false;  // a drag is in progress
};

}  // namespace mv
