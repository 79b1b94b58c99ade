#include "ui/WindowOpacity.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace mv {

namespace {

// Whether some client owns the compositing manager's selection of the default screen.
bool CompositorRuns(xcb_connection_t* connection, int screenNumber) {
  const std::string name = "_NET_WM_CM_S" + std::to_string(screenNumber);
  const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
      xcb_intern_atom_reply(connection,
                            xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()),
                            nullptr),
      &std::free);
  if (!atom) return false;
  const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
      xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
      &std::free);
  return owner && owner->owner != XCB_WINDOW_NONE;
}

}  // namespace

bool DesktopShowsWindowOpacity() {
  if (QGuiApplication::platformName() == "wayland") return false;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return true;  // other desktops blend themselves
  return CompositorRuns(x11->connection(), 0);
}

}  // namespace mv
