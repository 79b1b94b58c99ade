#pragma once
// A bar button (BitBtn): a 25 × 25 button with the project's glyph and the hint as its tooltip.

#include <QToolButton>

#include "shell/FormControls.h"

namespace mv {

inline constexpr int kBarButtonSize = 25;

QToolButton* MakeBarButton(const BarButton& model, QWidget& parent);
// Enabled and visible state from the model.
void ShowBarButton(const BarButton& model, QToolButton& button);

}  // namespace mv
