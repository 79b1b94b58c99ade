#include "shell/Viewport.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

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

}  // namespace

const Bitmap& ViewportComposer::Source24(const ViewportScene& scene) {
  if (scene.picture->Format() == PixelFormat::Bgr24) return *scene.picture;
  if (convertedVersion_ != scene.pictureVersion) {
    converted_ = scene.picture->ToBgr24();
    convertedVersion_ = scene.pictureVersion;
  }
  return converted_;
}

void ViewportComposer::EnsureReduced(const ViewportScene& scene, const Bitmap& source, const Rect& visible) {
  const Size display = scene.display;
  if (reducedVersion_ != scene.pictureVersion || reduced_.Width() != display.width ||
      reduced_.Height() != display.height) {
    // The memory is kept while the size stays: a fresh buffer costs its first-touch page faults.
    if (reduced_.Width() != display.width || reduced_.Height() != display.height) {
      reduced_ = Bitmap(display.width, display.height, PixelFormat::Bgr24);
    }
    tileColumns_ = (display.width + kTile - 1) / kTile;
    tileReady_.assign(static_cast<std::size_t>(tileColumns_) * ((display.height + kTile - 1) / kTile), false);
    reducedVersion_ = scene.pictureVersion;
  }
  std::vector<Rect> missing;
  for (int ty = visible.top / kTile; ty * kTile < visible.bottom; ++ty) {
    for (int tx = visible.left / kTile; tx * kTile < visible.right; ++tx) {
      const std::size_t index = static_cast<std::size_t>(ty) * tileColumns_ + tx;
      if (tileReady_[index]) continue;
      tileReady_[index] = true;
      missing.push_back({tx * kTile, ty * kTile, std::min(display.width, (tx + 1) * kTile),
                         std::min(display.height, (ty + 1) * kTile)});
    }
  }
  // Tiles are independent: the threads share them out.
  std::atomic<std::size_t> next{0};
  const auto work = [&](StretchWorkspace& workspace) {
    for (std::size_t i = next++; i < missing.size(); i = next++) {
      StretchRegion(source, display, missing[i], reduced_, {missing[i].left, missing[i].top}, workspace);
    }
  };
  const std::size_t threads =
      std::min<std::size_t>(missing.size(), std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  if (workspaces_.size() < threads) workspaces_.resize(threads);
  std::vector<std::thread> workers;
  for (std::size_t t = 1; t < threads; ++t) workers.emplace_back(work, std::ref(workspaces_[t]));
  if (threads > 0) work(workspaces_[0]);
  for (std::thread& worker : workers) worker.join();
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
  const Point at{visible.left - scene.scroll.x, visible.top - scene.scroll.y};
  FillOutside(surface, scene.background,
              shown ? Rect{at.x, at.y, at.x + visible.Width(), at.y + visible.Height()} : Rect{});
  if (shown) {
    const Bitmap& source = Source24(scene);
    const bool reduced = scene.display.width <= source.Width() && scene.display.height <= source.Height() &&
                         (scene.display.width < source.Width() || scene.display.height < source.Height());
    if (reduced) {
      EnsureReduced(scene, source, visible);
      for (int y = visible.top; y < visible.bottom; ++y) {
        std::memcpy(surface.Row(at.y + y - visible.top) + static_cast<std::size_t>(at.x) * 3,
                    reduced_.Row(y) + static_cast<std::size_t>(visible.left) * 3,
                    static_cast<std::size_t>(visible.Width()) * 3);
      }
    } else {
      StretchRegion(source, scene.display, visible, surface, at);
    }
  }
  CopyPixels(surface, layer_);
  layerScene_ = scene;
  layerValid_ = true;
}

}  // namespace mv
