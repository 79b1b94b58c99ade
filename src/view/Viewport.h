#pragma once
// Composes the visible part of the image area into the viewport surface: the background, then the
// working image stretched to Im1's size at the content origin. (The overlay is drawn afterwards by
// the image area's paint handlers.)
//
// 24-bit and 32-bit pictures and 8-bit ones with the grey scale as their palette are stretched as they
// are. Pictures in other formats (other palettes, 5-5-5) are converted to 24 bits first.
//
// Keeps what it can between calls, keyed by the picture's version and Im1's size: the reduced picture
// when the view is smaller than the picture, filled in tiles as the view reaches them, so scrolling and
// repainting at one zoom only copy pixels; a 24-bit copy of a picture to convert shown at 1:1 or
// enlarged, converted in blocks as the view reaches them (a reduced tile converts the source rows it reads
// into a small buffer instead, which stays in cache); and the last composed layer, unless it was copied from
// those tiles.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "platform/Geometry.h"
#include "view/Bgr24Converter.h"
#include "view/Stretch.h"

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
  // The picture in 24 bits, at least where `visible` (display coordinates) shows it.
  const Bitmap& Source24(const ViewportScene& scene, const Rect& visible);
  // The tables converting the picture's pixels to 24 bits.
  const Bgr24Converter& Converter(const ViewportScene& scene);
  // Whether the stretch reads the picture as it is.
  bool StretchedDirectly(const ViewportScene& scene);
  // Makes sure the tiles of the reduced picture that `visible` (display coordinates) touches exist.
  void EnsureReduced(const ViewportScene& scene, const Rect& visible);
  // Reduces the tiles `area` (display coordinates) of a picture to convert, band by band: each band's
  // source pixels are converted into the workspace's window first.
  void ReduceConverted(const ViewportScene& scene, const Rect& area, StretchWorkspace& workspace);

  // The tiles of the reduced picture that `visible` touches and that are not filled yet, now taken as
  // filled. Tiles side by side in a tile row come as one rectangle: reducing long pieces of the picture's
  // rows in one go is faster.
  std::vector<Rect> TakeMissingTiles(const Rect& visible, Size display);

  // Tiles are low so that a view's runs of tiles share out evenly over two threads.
  static constexpr int kTileWidth = 128, kTileHeight = 64;
  // Runs work(i, workspace) for every i below count, shared out over the threads.
  void RunShared(std::size_t count, const std::function<void(std::size_t, StretchWorkspace&)>& work);

  static constexpr int kBlockWidth = 512, kBlockHeight = 64;
  static constexpr int64_t kWindowBytes = 192 * 1024;  // a band's source pixels in 24 bits, about
  Bitmap converted_;
  uint64_t convertedVersion_ = UINT64_MAX;
  std::optional<Bgr24Converter> converter_;
  uint64_t converterVersion_ = UINT64_MAX;
  std::vector<bool> blockReady_;
  int blockColumns_ = 0;
  Bitmap reduced_;
  uint64_t reducedVersion_ = UINT64_MAX;
  std::vector<bool> tileReady_;
  std::vector<StretchWorkspace> workspaces_;  // one per thread filling tiles
  int tileColumns_ = 0;
  Bitmap layer_;
  ViewportScene layerScene_;
  bool layerValid_ = false;
};

}  // namespace mv
