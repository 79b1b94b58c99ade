#pragma once
// Where a dialog of the window opens: centred over the main window, moved as little as needed to lie
// wholly on the screen's available area (a small main window would otherwise push a larger dialog's
// title and top row off the screen).

#include <QDialog>

namespace mv {

void CentreOverParent(QDialog& dialog);

}  // namespace mv
