#include "ui/DialogPlacement.h"

#include <QScreen>
#include <algorithm>

namespace mv {

void CentreOverParent(QDialog& dialog) {
  QWidget* main = dialog.parentWidget();
  if (main == nullptr) return;
  const QPoint centre = main->frameGeometry().center();
  QPoint corner(centre.x() - dialog.width() / 2, centre.y() - dialog.height() / 2);
  if (QScreen* screen = main->screen()) {
    const QRect area = screen->availableGeometry();
    corner.setX(
        std::clamp(corner.x(), area.left(), std::max(area.left(), area.right() + 1 - dialog.width())));
    corner.setY(
        std::clamp(corner.y(), area.top(), std::max(area.top(), area.bottom() + 1 - dialog.height())));
  }
  dialog.move(corner);
}

}  // namespace mv
