#include "view/Viewport.h"

#include "view/AreaStretch.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "platform/Parallel.h"

namespace mv {

namespace {

// Copies the pixels of one 24-bit bitmap into another of the same size, keeping the target's memory.
void CopyPixels(const Bitmap& from, Bitmap& to) {
  if (to.Width() != from.Width() || to.Height() != from.Height() || to.Format() != from.Format()) {
    to = Bitmap(from.Width(), from.Height(), from.Format());
  }
  if (!from.IsEmpty())
    std::memcpy(to.Row(0), from.Row(0), from.Stride() * static_cast<std::size_t>(from.Height()));
}

// Fills the surface with the background colour except inside `keep` (surface coordinates).
void FillOutside(Bitmap& surface, ColorRef color, const Rect& keep) {
  std::vector<uint8_t> line(static_cast<std::size_t>(surface.Width()) * 3);
  for (std::size_t i = 0; i < line.size(); i += 3) {
    line[i] = BlueOf(color);
    line[i + 1] = GreenOf(color);
    line[i + 2] = RedOf(color);
  }
  for (int y = 0; y < surface.Height(); ++y) {
    uint8_t* row = surface.Row(y);
    if (y < keep.top || y >= keep.bottom || keep.Width() <= 0) {
      std::memcpy(row, line.data(), line.size());
      continue;
    }
    std::memcpy(row, line.data(), static_cast<std::size_t>(keep.left) * 3);
    const std::size_t right = static_cast<std::size_t>(keep.right) * 3;
    std::memcpy(row + right, line.data(), line.size() - right);
  }
}

// The source pixels behind view pixels [begin, end) of an axis, for nearest and averaged pixels alike.
std::pair<int32_t, int32_t> SourceRange(int64_t source, int64_t view, int64_t begin, int64_t end) {
  return {static_cast<int32_t>(begin * source / view),
          static_cast<int32_t>(std::min(source, (end * source + view - 1) / view))};
}

}  // namespace

void ViewportComposer::RunShared(std::size_t count,
                                 const std::function<void(std::size_t, StretchWorkspace&)>& work) {
  const int threads = ParallelThreads();
  const std::size_t workers = std::min<std::size_t>(count, static_cast<std::size_t>(threads));
  if (workspaces_.size() < workers) workspaces_.resize(workers);
  ParallelFor(count, threads, [&](std::size_t task, std::size_t worker) { work(task, workspaces_[worker]); });
}

const Bitmap& ViewportComposer::Source24(const ViewportScene& scene, const Rect& visible) {
  const Bitmap& picture = *scene.picture;
  if (picture.Format() == PixelFormat::Bgr24) return picture;
  if (convertedVersion_ != scene.pictureVersion || converted_.Width() != picture.Width() ||
      converted_.Height() != picture.Height()) {
    // The memory is kept while the size stays: a fresh buffer costs its first-touch page faults.
    if (converted_.Width() != picture.Width() || converted_.Height() != picture.Height()) {
      converted_ = Bitmap(picture.Width(), picture.Height(), PixelFormat::Bgr24);
    }
    blockColumns_ = (picture.Width() + kBlockWidth - 1) / kBlockWidth;
    blockReady_.assign(
        static_cast<std::size_t>(blockColumns_) * ((picture.Height() + kBlockHeight - 1) / kBlockHeight),
        false);
    convertedVersion_ = scene.pictureVersion;
  }
  const auto [left, right] = SourceRange(picture.Width(), scene.display.width, visible.left, visible.right);
  const auto [top, bottom] = SourceRange(picture.Height(), scene.display.height, visible.top, visible.bottom);
  std::vector<Rect> missing;
  for (int by = top / kBlockHeight; by * kBlockHeight < bottom; ++by) {
    for (int bx = left / kBlockWidth; bx * kBlockWidth < right; ++bx) {
      const std::size_t index = static_cast<std::size_t>(by) * blockColumns_ + bx;
      if (blockReady_[index]) continue;
      blockReady_[index] = true;
      missing.push_back({bx * kBlockWidth, by * kBlockHeight,
                         std::min(picture.Width(), (bx + 1) * kBlockWidth),
                         std::min(picture.Height(), (by + 1) * kBlockHeight)});
    }
  }
  const Bgr24Converter& converter = Converter(scene);
  RunShared(missing.size(),
            [&](std::size_t i, StretchWorkspace&) { converter.Convert(picture, missing[i], converted_); });
  return converted_;
}

const Bgr24Converter& ViewportComposer::Converter(const ViewportScene& scene) {
  // The format is checked too: a table made for another format would be read past its end.
  if (converterVersion_ != scene.pictureVersion || !converter_ ||
      converter_->Format() != scene.picture->Format()) {
    converter_.emplace(*scene.picture);
    converterVersion_ = scene.pictureVersion;
  }
  return *converter_;
}

bool ViewportComposer::StretchedDirectly(const ViewportScene& scene) {
  switch (scene.picture->Format()) {
    case PixelFormat::Bgr24:
    case PixelFormat::Bgrx32:
      return true;
    case PixelFormat::Indexed8:
      return Converter(scene).GreyScale();
    default:
      return false;
  }
}

void ViewportComposer::ReduceConverted(const ViewportScene& scene, const Rect& area,
                                       StretchWorkspace& workspace) {
  const Bitmap& picture = *scene.picture;
  const Size source{picture.Width(), picture.Height()};
  const auto [left, right] = SourceRange(source.width, scene.display.width, area.left, area.right);
  // Bands of view rows whose source rows fill about kWindowBytes, so the window stays in cache while the
  // stretch reads it. The stretch is prepared once for the whole area.
  const int64_t sourceRows = std::max<int64_t>(1, kWindowBytes / (3 * int64_t{right - left}));
  const int bandHeight = static_cast<int>(
      std::clamp<int64_t>(sourceRows * scene.display.height / source.height, 1, area.Height()));
  Bitmap& window = workspace.window;
  if (window.Width() < right - left) window = Bitmap(right - left, 1, PixelFormat::Bgr24);
  const AreaStretch stretch({window, {left, 0}}, source, scene.display, area, workspace, true);
  for (int top = 0; top < area.Height(); top += bandHeight) {
    const int bottom = std::min(area.Height(), top + bandHeight);
    const auto [sourceTop, sourceBottom] = stretch.SourceRows(top, bottom);
    if (window.Height() < sourceBottom - sourceTop) {
      window = Bitmap(window.Width(), sourceBottom - sourceTop, PixelFormat::Bgr24);
    }
    converter_->Convert(picture, {left, sourceTop, right, sourceBottom}, window, {0, 0});
    stretch.Rows(top, bottom, reduced_, {area.left, area.top}, workspace, {window, {left, sourceTop}});
  }
}

std::vector<Rect> ViewportComposer::TakeMissingTiles(const Rect& visible, Size display) {
  std::vector<Rect> missing;
  for (int ty = visible.top / kTileHeight; ty * kTileHeight < visible.bottom; ++ty) {
    bool joinable = false;  // whether the tile to the left was missing too
    for (int tx = visible.left / kTileWidth; tx * kTileWidth < visible.right; ++tx) {
      const std::size_t index = static_cast<std::size_t>(ty) * tileColumns_ + tx;
      if (tileReady_[index]) {
        joinable = false;
        continue;
      }
      tileReady_[index] = true;
      const Rect tile{tx * kTileWidth, ty * kTileHeight, std::min(display.width, (tx + 1) * kTileWidth),
                      std::min(display.height, (ty + 1) * kTileHeight)};
      if (joinable) {
        missing.back().right = tile.right;
      } else {
        missing.push_back(tile);
      }
      joinable = true;
    }
  }
  return missing;
}

void ViewportComposer::EnsureReduced(const ViewportScene& scene, const Rect& visible) {
  const Size display = scene.display;
  if (reducedVersion_ != scene.pictureVersion || reduced_.Width() != display.width ||
      reduced_.Height() != display.height) {
    if (reduced_.Width() != display.width || reduced_.Height() != display.height) {
      reduced_ = Bitmap(display.width, display.height, PixelFormat::Bgr24);
    }
    tileColumns_ = (display.width + kTileWidth - 1) / kTileWidth;
    tileReady_.assign(
        static_cast<std::size_t>(tileColumns_) * ((display.height + kTileHeight - 1) / kTileHeight), false);
    reducedVersion_ = scene.pictureVersion;
  }
  // Runs of tiles are independent: the threads share them out.
  const Bitmap& picture = *scene.picture;
  const std::vector<Rect> missing = TakeMissingTiles(visible, display);
  if (StretchedDirectly(scene)) {
    RunShared(missing.size(), [&](std::size_t i, StretchWorkspace& workspace) {
      StretchRegion(picture, display, missing[i], reduced_, {missing[i].left, missing[i].top}, workspace);
    });
    return;
  }
  Converter(scene);
  RunShared(missing.size(), [&](std::size_t i, StretchWorkspace& workspace) {
    ReduceConverted(scene, missing[i], workspace);
  });
}

void ViewportComposer::Compose(const ViewportScene& scene, Bitmap& surface) {
  const bool sameSize = layer_.Width() == surface.Width() && layer_.Height() == surface.Height();
  if (layerValid_ && sameSize && layerScene_ == scene) {
    CopyPixels(layer_, surface);
    return;
  }
  Rect visible;  // display coordinates
  if (scene.picture != nullptr && !scene.picture->IsEmpty()) {
    visible = {std::max(0, scene.scroll.x), std::max(0, scene.scroll.y),
               static_cast<int32_t>(
                   std::min<int64_t>(scene.display.width, int64_t{scene.scroll.x} + surface.Width())),
               static_cast<int32_t>(
                   std::min<int64_t>(scene.display.height, int64_t{scene.scroll.y} + surface.Height()))};
  }
  const bool shown = visible.Width() > 0 && visible.Height() > 0;
  bool fromTiles = false;
  const Point at{visible.left - scene.scroll.x, visible.top - scene.scroll.y};
  FillOutside(surface, scene.background,
              shown ? Rect{at.x, at.y, at.x + visible.Width(), at.y + visible.Height()} : Rect{});
  if (shown) {
    const Bitmap& picture = *scene.picture;
    const Size display = scene.display;
    const bool reduced = display.width <= picture.Width() && display.height <= picture.Height() &&
                         (display.width < picture.Width() || display.height < picture.Height());
    if (reduced) {
      EnsureReduced(scene, visible);
      fromTiles = true;
      for (int y = visible.top; y < visible.bottom; ++y) {
        std::memcpy(surface.Row(at.y + y - visible.top) + static_cast<std::size_t>(at.x) * 3,
                    reduced_.Row(y) + static_cast<std::size_t>(visible.left) * 3,
                    static_cast<std::size_t>(visible.Width()) * 3);
      }
    } else if (StretchedDirectly(scene)) {
      StretchRegion(picture, display, visible, surface, at);
    } else {
      StretchRegion(Source24(scene, visible), display, visible, surface, at);
    }
  }
  // A layer shown from the reduced picture's tiles is composed from them again when asked for: that
  // costs what copying a kept layer would, and spares the copy now.
  layerValid_ = !fromTiles;
  if (layerValid_) {
    CopyPixels(surface, layer_);
    layerScene_ = scene;
  }
}

}  // namespace mv
