#include "ui/ActiveWindow.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace mv {

namespace {

// xcb replies are malloc'ed.
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> Owned(Reply* reply) {
  return ReplyPtr<Reply>(reply, &std::free);
}

xcb_atom_t ExistingAtom(xcb_connection_t* connection, const char* name) {
  const auto reply = Owned(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The 32-bit items of a window property of the given type; empty when it is not set.
std::vector<uint32_t> Property32(xcb_connection_t* connection, xcb_window_t window, const char* name,
                                 xcb_atom_t type, uint32_t count) {
  const xcb_atom_t atom = ExistingAtom(connection, name);
  if (atom == XCB_ATOM_NONE) return {};
  const auto reply = Owned(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, atom, type, 0, count), nullptr));
  if (!reply || reply->format != 32 || reply->type != type) return {};
  const auto* items = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
  const int length = xcb_get_property_value_length(reply.get()) / 4;
  return std::vector<uint32_t>(items, items + length);
}

}  // namespace

std::optional<QRect> ActiveWindowBounds() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  if (connection == nullptr) return std::nullopt;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

  const std::vector<uint32_t> active = Property32(connection, root, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, 1);
  if (active.empty() || active.front() == XCB_WINDOW_NONE) return std::nullopt;
  const xcb_window_t window = active.front();

  const auto geometry =
      Owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
  const auto origin = Owned(xcb_translate_coordinates_reply(
      connection, xcb_translate_coordinates(connection, window, root, 0, 0), nullptr));
  if (!geometry || !origin) return std::nullopt;
  QRect bounds(origin->dst_x, origin->dst_y, geometry->width, geometry->height);

  // The frame the window manager draws around it: left, right, top, bottom.
  const std::vector<uint32_t> frame =
      Property32(connection, window, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL, 4);
  if (frame.size() == 4) {
    bounds.adjust(-static_cast<int>(frame[0]), -static_cast<int>(frame[2]), static_cast<int>(frame[1]),
                  static_cast<int>(frame[3]));
  }
  return bounds;
}

}  // namespace mv
