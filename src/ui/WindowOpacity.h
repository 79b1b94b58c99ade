#pragma once
// Whether the desktop shows a window's opacity: on X11 only while a compositing manager runs (it
// owns the _NET_WM_CM_Sn selection of the screen); Wayland compositors do not take an application's
// opacity for its top-level windows.

namespace mv {

bool DesktopShowsWindowOpacity();

}  // namespace mv
