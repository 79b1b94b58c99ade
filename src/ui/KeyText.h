#pragma once
// A key press as the core names keys and shortcuts: modifiers in the order Ctrl, Shift, Alt, then the
// key ("Ctrl+O", "Right", "Ctrl+Shift+F1").

#include <string>

class QKeyEvent;

namespace mv {

// Empty for a modifier key pressed alone and for keys without a name.
std::string KeyText(const QKeyEvent& event);

}  // namespace mv
