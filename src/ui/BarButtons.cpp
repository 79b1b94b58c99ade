#include "ui/BarButtons.h"

#include "ui/BarIcons.h"

namespace mv {

QToolButton* MakeBarButton(const BarButton& model, QWidget& parent) {
  auto* button = new QToolButton(&parent);
  button->setObjectName(QString::fromStdString(model.name));
  button->setToolTip(QString::fromStdString(model.hint));
  button->setIcon(BarIcon(model.name));
  button->setIconSize(QSize(kBarIconSize, kBarIconSize));
  button->setFixedSize(kBarButtonSize, kBarButtonSize);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

void ShowBarButton(const BarButton& model, QToolButton& button) {
  button.setEnabled(model.enabled);
  button.setVisible(model.visible);
}

}  // namespace mv
