// The active window's bounds as the X server tells them; run under Xvfb, where the test plays the
// window manager that names the active window and its frame.

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <cstring>

#include "ui/ActiveWindow.h"

namespace mv {
namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

TEST(ActiveWindow, BoundsAreTheActiveWindowsWithTheFrameAroundIt) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) GTEST_SKIP() << "not on an X server";
  xcb_connection_t* connection = x11->connection();
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

  QWidget window;
  window.setGeometry(100, 120, 300, 200);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  // Without a window manager nobody names an active window.
  EXPECT_FALSE(ActiveWindowBounds());

  const auto id = static_cast<xcb_window_t>(window.winId());
  const uint32_t frame[4] = {4, 5, 20, 6};  // left, right, top, bottom
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, root, Atom(connection, "_NET_ACTIVE_WINDOW"),
                      XCB_ATOM_WINDOW, 32, 1, &id);
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, Atom(connection, "_NET_FRAME_EXTENTS"),
                      XCB_ATOM_CARDINAL, 32, 4, frame);
  xcb_flush(connection);
  const std::optional<QRect> bounds = ActiveWindowBounds();
  ASSERT_TRUE(bounds);
  EXPECT_EQ(*bounds, QRect(100 - 4, 120 - 20, 300 + 4 + 5, 200 + 20 + 6));
  xcb_delete_property(connection, root, Atom(connection, "_NET_ACTIVE_WINDOW"));
  xcb_flush(connection);
}

}  // namespace
}  // namespace mv
