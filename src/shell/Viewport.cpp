#include "shell/Viewport.h"

#include <algorithm>
#include <cstring>

#include "shell/Stretch.h"

namespace mv {

namespace {

void Fill(Bitmap& surface, ColorRef color) {
  if (surface.IsEmpty()) return;
  uint8_t* first = surface.Row(0);
  for (int x = 0; x < surface.Width(); ++x) {
    first[x * 3] = BlueOf(color);
    first[x * 3 + 1] = GreenOf(color);
    first[x * 3 + 2] = RedOf(color);
  }
  for (int y = 1; y < surface.Height(); ++y) std::memcpy(surface.Row(y), first, surface.Stride());
}

// Copies the pixels of one 24-bit bitmap into another of the same size, keeping the target's memory.
void CopyPixels(const Bitmap& from, Bitmap& to) {
  if (to.Width() != from.Width() || to.Height() != from.Height() || to.Format() != from.Format()) {
    to = Bitmap(from.Width(), from.Height(), from.Format());
  }
  if (!from.IsEmpty())
    std::memcpy(to.Row(0), from.Row(0), from.Stride() * static_cast<std::size_t>(from.Height()));
}

}  // namespace

const Bitmap& ViewportComposer::Source24(const ViewportScene& scene) {
  if (scene.picture->Format() == PixelFormat::Bgr24) return *scene.picture;
  if (convertedVersion_ != scene.pictureVersion) {
    converted_ = scene.picture->ToBgr24();
    convertedVersion_ = scene.pictureVersion;
  }
  return converted_;
}

void ViewportComposer::Compose(const ViewportScene& scene, Bitmap& surface) {
  const bool sameSize = layer_.Width() == surface.Width() && layer_.Height() == surface.Height();
  if (layerValid_ && sameSize && layerScene_ == scene) {
    CopyPixels(layer_, surface);
    return;
  }
  Fill(surface, scene.background);
  if (scene.picture != nullptr && !scene.picture->IsEmpty()) {
    const Rect visible{std::max(0, scene.scroll.x), std::max(0, scene.scroll.y),
                       static_cast<int32_t>(
                           std::min<int64_t>(scene.display.width, int64_t{scene.scroll.x} + surface.Width())),
                       static_cast<int32_t>(std::min<int64_t>(scene.display.height,
                                                              int64_t{scene.scroll.y} + surface.Height()))};
    if (visible.Width() > 0 && visible.Height() > 0) {
      StretchRegion(Source24(scene), scene.display, visible, surface,
                    {visible.left - scene.scroll.x, visible.top - scene.scroll.y});
    }
  }
  CopyPixels(surface, layer_);
  layerScene_ = scene;
  layerValid_ = true;
}

}  // namespace mv
