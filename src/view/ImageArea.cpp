#include "view/ImageArea.h"

#include <algorithm>

namespace mv {

void ImageArea::Compose(const ViewportScene& scene, Size size) {
  if (surface_.Width() != size.width || surface_.Height() != size.height) {
    surface_ = Bitmap(std::max(0, size.width), std::max(0, size.height), PixelFormat::Bgr24);
  }
  composer_.Compose(scene, surface_);
  canvas_.SetTarget(surface_, scene.scroll);
  composed_ = scene;
  invalidated_ = false;
  for (const auto& paint : paintHandlers) paint(canvas_);
}

}  // namespace mv
