#pragma once
// The glyphs of the bar buttons and of the progress dialog's Cancel button, drawn in code on an
// 18 × 18 grid and rendered at 1× and 2× scale, so they stay crisp on either kind of screen.

#include <QIcon>
#include <string>

namespace mv {

inline constexpr int kBarIconSize = 18;

// The glyph of BitBtn1 … BitBtn13, or "Cancel"; an empty icon for any other name.
QIcon BarIcon(const std::string& name);

}  // namespace mv
