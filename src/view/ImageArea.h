#pragma once
// The image area: the viewport surface the desktop shows (the visible part of Im1 and pb1) and
// pb1's canvas, which draws on that surface in image-area (content) coordinates.
//
// Like a window on the screen, the surface is recomposed only when something it shows has changed
// (the picture, Im1's size, the scroll position, the area's size) or it was invalidated, and only when
// the current input event has been handled; drawing done on the canvas in between stays until then.

#include <functional>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "view/Viewport.h"

namespace mv {

class ImageArea {
 public:
  ImageArea() : surface_(0, 0) { canvas_.SetTarget(surface_); }
  ImageArea(const ImageArea&) = delete;
  ImageArea& operator=(const ImageArea&) = delete;

  const Bitmap& Surface() const { return surface_; }
  // pb1's canvas. It keeps its pen, brush and position between calls.
  Canvas& pb1Canvas() { return canvas_; }

  // Marks the surface for recomposition at the end of the current event.
  void Invalidate() { invalidated_ = true; }
  bool NeedsCompose(const ViewportScene& scene, Size size) const {
    return invalidated_ || scene != composed_ || size.width != surface_.Width() ||
           size.height != surface_.Height();
  }
  // Composes the picture layer of `scene` into a surface of `size` and points the canvas at it.
  void Compose(const ViewportScene& scene, Size size);

  // pb1's paint handlers (the overlay: figures, calibration line, selection outline), run in order
  // after each composition.
  std::vector<std::function<void(Canvas&)>> paintHandlers;

 private:
  Bitmap surface_;
  Canvas canvas_;
  ViewportComposer composer_;
  ViewportScene composed_;
  bool invalidated_ = true;
};

}  // namespace mv
