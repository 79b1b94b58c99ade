#pragma once
// The opacity of the program's window in transparency mode, 0 (transparent) ... 255 (opaque). While
// the slider moves, the window takes that opacity where the desktop can show it; cancelling puts
// its opacity back.

#include <cstdint>

namespace mv {

inline constexpr int32_t kDefaultOpacity = 192;

// The opacity confirmed, or -1 when cancelled.
int32_t AskWindowOpacity();

}  // namespace mv
