#include "ui/StatusBarWidget.h"

#include <QMouseEvent>
#include <QPainter>

namespace mv {

namespace {

constexpr int kTextPadding = 3;

Qt::Alignment ToQt(Alignment alignment) {
  switch (alignment) {
    case Alignment::Center:
      return Qt::AlignHCenter;
    case Alignment::Right:
      return Qt::AlignRight;
    case Alignment::Left:
      break;
  }
  return Qt::AlignLeft;
}

}  // namespace

StatusBarWidget::StatusBarWidget(std::function<void(int, MouseButton)> pressed, QWidget* parent)
    : QWidget(parent), pressed_(std::move(pressed)) {
  setObjectName("sb1");
  setFixedHeight(kStatusBarHeight);
}

void StatusBarWidget::Show(const FormControls& controls) {
  setToolTip(QString::fromStdString(controls.sb1Hint));
  bool changed = false;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    const StatusPanel &shown = panels_[i], &wanted = controls.sb1[i];
    changed = changed || shown.text != wanted.text || shown.width != wanted.width ||
              shown.alignment != wanted.alignment;
  }
  if (!changed) return;
  panels_ = controls.sb1;
  update();
}

void StatusBarWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colours = palette();
  int left = 0;
  for (const StatusPanel& panel : panels_) {
    // A sunken frame with a pixel of space between panels, as a Windows status bar draws them.
    const QRect frame(left, 2, std::max(0, panel.width - 2), height() - 2);
    left += panel.width;
    if (frame.width() <= 1) continue;
    painter.setPen(colours.color(QPalette::Dark));
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(colours.color(QPalette::Light));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
    painter.setPen(colours.color(QPalette::WindowText));
    const QRect text = frame.adjusted(kTextPadding, 1, -kTextPadding, -1);
    const QString shown = QString::fromStdString(panel.text);
    // Text wider than its panel shows its beginning, whatever the alignment.
    const Qt::Alignment alignment =
        painter.fontMetrics().horizontalAdvance(shown) > text.width() ? Qt::AlignLeft : ToQt(panel.alignment);
    painter.setClipRect(frame.adjusted(1, 1, -1, -1));
    painter.drawText(text, int(alignment | Qt::AlignVCenter), shown);
    painter.setClipping(false);
  }
}

void StatusBarWidget::mousePressEvent(QMouseEvent* event) {
  if (!pressed_) return;
  const int x = event->position().toPoint().x();
  switch (event->button()) {
    case Qt::LeftButton:
      pressed_(x, MouseButton::Left);
      break;
    case Qt::RightButton:
      pressed_(x, MouseButton::Right);
      break;
    case Qt::MiddleButton:
      pressed_(x, MouseButton::Middle);
      break;
    default:
      break;
  }
}

}  // namespace mv
