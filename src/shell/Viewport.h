#pragma once
// Composes the visible part of the image area into the viewport surface: the background, then the
// working image stretched to Im1's size at the content origin. (The overlay is drawn afterwards by
// the image area's paint handlers.)
//
// Keeps what it can between calls: a 24-bit copy of a picture in another format (per picture
// version), and the last composed layer, so redrawing the overlay over an unchanged view costs one
// copy.

#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "platform/Geometry.h"
#include "shell/Size.h"

namespace mv {

struct ViewportScene {
  const Bitmap* picture = nullptr;  // the working image, or null
  uint64_t pictureVersion = 0;      // changes whenever the picture does
  Size display;                     // Im1's size: the picture stretched to it
  Point scroll;                     // the content point at the surface's top-left
  ColorRef background = 0;
  bool operator==(const ViewportScene&) const = default;
};

class ViewportComposer {
 public:
  // `surface` is 24-bit; its size is the visible part's size.
  void Compose(const ViewportScene& scene, Bitmap& surface);

 private:
  const Bitmap& Source24(const ViewportScene& scene);

  Bitmap converted_;
  uint64_t convertedVersion_ = UINT64_MAX;
  Bitmap layer_;
  ViewportScene layerScene_;
  bool layerValid_ = false;
};

}  // namespace mv
