#pragma once
// The pointer in the screen's own pixels. Qt's widget coordinates count whole pixels of Qt's
// (device-independent) size, so at a device pixel ratio above 1 they cannot name every pixel of the
// screen; the display server can.

#include <QPoint>
#include <optional>

class QWidget;

namespace mv {

// Where the pointer is now, in device pixels from `widget`'s top-left corner, as the X server tells
// it; nullopt where there is no X server (the offscreen platform, Wayland).
std::optional<QPoint> PointerInDevicePixels(const QWidget& widget);

}  // namespace mv
