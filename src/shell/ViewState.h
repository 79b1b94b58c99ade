#pragma once
// How the image area shows the working image: the zoom factor, the size of Im1 (the picture
// stretched by it), the scroll bars of scb1 and the wheel step.

#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Numbers.h"

namespace mv {

struct ViewState {
  Extended ZoomFactor = 1.0L;  // view pixels per image pixel
  Size im1;                    // Im1's size in view pixels
  bool autoScroll = true;      // scb1's scroll bars follow Im1 (off while the view is fitted)
  Point scroll;                // scroll position: the content point at the top-left of the view
  int32_t scrollStep = 8;      // the scroll bars' arrow step ("Scroll" "Normal")
  int32_t WheelStep = 100;     // pixels per wheel notch
};

}  // namespace mv
