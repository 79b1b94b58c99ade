#include "ui/NativePointer.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace mv {

std::optional<QPoint> PointerInDevicePixels(const QWidget& widget) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  const QWidget* top = widget.window();
  const QWindow* window = top != nullptr ? top->windowHandle() : nullptr;
  if (connection == nullptr || window == nullptr) return std::nullopt;
  const std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
      xcb_query_pointer_reply(
          connection, xcb_query_pointer(connection, static_cast<xcb_window_t>(window->winId())), nullptr),
      &std::free);
  if (!reply || !reply->same_screen) return std::nullopt;
  // The top-level window's corner is the same point for Qt and the server; the widget lies at its
  // offset times the ratio within it.
  const qreal ratio = widget.devicePixelRatioF();
  const QPoint offset = widget.mapTo(top, QPoint(0, 0));
  return QPoint(reply->win_x - static_cast<int>(std::lround(offset.x() * ratio)),
                reply->win_y - static_cast<int>(std::lround(offset.y() * ratio)));
}

}  // namespace mv
