#pragma once
// The bounds of the window the user has in front (any program's), frame included, as the X11
// display server tells them through _NET_ACTIVE_WINDOW and _NET_FRAME_EXTENTS.

#include <QRect>
#include <optional>

namespace mv {

// nullopt where the display server is not X11 or its window manager names no active window.
std::optional<QRect> ActiveWindowBounds();

}  // namespace mv
