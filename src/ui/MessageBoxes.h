#pragma once
// The core's message boxes as Qt message boxes: the icon of the box kind, the requested buttons
// captioned as a Japanese desktop captions them, Esc on the button that cancels. A Help button opens
// help and leaves the box open.

#include <functional>
#include <string>

#include "platform/Feedback.h"

class QWidget;

namespace mv {

BoxButton RunMessageBox(QWidget* parent, BoxKind kind, const std::string& text, BoxButtons buttons,
                        const std::function<void()>& help);

}  // namespace mv
