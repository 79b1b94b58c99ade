#include "ui/StatusBarWidget.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace mv {

namespace {

constexpr int kTextPadding = 3;
constexpr int kSmallestPixelSize = 8;  // below this the texts would be hard to read

// The longest texts the panels usually show; the font is chosen so that they fit.
constexpr std::array<const char*, 6> kUsualTexts = {"",       "",          "99999x99999", "99999x99999",
                                                    "24 bit", " Cache 999"};

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
  for (std::size_t i = 0; i < panels_.size(); ++i) panels_[i].width = kStatusPanelWidths[i];
  ChooseFont();
}

void StatusBarWidget::Show(const FormControls& controls) {
  setToolTip(QString::fromStdString(controls.sb1Hint));
  bool changed = false, widthsChanged = false;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    const StatusPanel &shown = panels_[i], &wanted = controls.sb1[i];
    widthsChanged = widthsChanged || shown.width != wanted.width;
    changed = changed || shown.text != wanted.text || shown.alignment != wanted.alignment;
  }
  if (!changed && !widthsChanged) return;
  panels_ = controls.sb1;
  if (widthsChanged) ChooseFont();
  update();
}

QRect StatusBarWidget::PanelFrame(std::size_t panel) const {
  int left = 0;
  for (std::size_t i = 0; i < panel; ++i) left += panels_[i].width;
  // A pixel of space between panels, as a Windows status bar draws them.
  return QRect(left, 2, std::max(0, panels_[panel].width - 2), height() - 2);
}

QRect StatusBarWidget::TextRoom(std::size_t panel) const {
  return PanelFrame(panel).adjusted(kTextPadding, 1, -kTextPadding, -1);
}

// The window's font, or the largest smaller size of it with which every usual text fits its panel.
void StatusBarWidget::ChooseFont() {
  QFont font = this->font();
  const auto fits = [&](const QFont& candidate) {
    const QFontMetrics metrics(candidate);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
      const QString usual = QString::fromLatin1(kUsualTexts[i]);
      if (!usual.isEmpty() && metrics.horizontalAdvance(usual) > TextRoom(i).width()) return false;
    }
    return true;
  };
  if (font.pixelSize() <= 0) font.setPixelSize(QFontInfo(font).pixelSize());
  while (!fits(font) && font.pixelSize() > kSmallestPixelSize) font.setPixelSize(font.pixelSize() - 1);
  panelFont_ = font;
}

QString StatusBarWidget::ShownText(std::size_t panel) const {
  const QString text = QString::fromStdString(panels_[panel].text);
  return QFontMetrics(panelFont_).elidedText(text, Qt::ElideRight, TextRoom(panel).width());
}

QString StatusBarWidget::ToolTipAt(QPoint position) const {
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    if (!PanelFrame(i).contains(position)) continue;
    const QString text = QString::fromStdString(panels_[i].text);
    if (ShownText(i) != text) return text;
  }
  return toolTip();
}

bool StatusBarWidget::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto& help = static_cast<QHelpEvent&>(*event);
  const QString tip = ToolTipAt(help.pos());
  if (tip.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(help.globalPos(), tip, this);
  return true;
}

void StatusBarWidget::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    ChooseFont();
    update();
  }
  QWidget::changeEvent(event);
}

void StatusBarWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(panelFont_);
  const QPalette& colours = palette();
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    const QRect frame = PanelFrame(i);
    if (frame.width() <= 1) continue;
    painter.setPen(colours.color(QPalette::Dark));
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(colours.color(QPalette::Light));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
    painter.setPen(colours.color(QPalette::WindowText));
    painter.setClipRect(frame.adjusted(1, 1, -1, -1));
    painter.drawText(TextRoom(i), int(ToQt(panels_[i].alignment) | Qt::AlignVCenter), ShownText(i));
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
