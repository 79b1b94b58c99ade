#include "ui/ImageAreaWidget.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <optional>

#include "ui/NativePointer.h"

namespace mv {

namespace {

std::optional<MouseButton> ToButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return MouseButton::Left;
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::MiddleButton:
      return MouseButton::Middle;
    default:
      return std::nullopt;
  }
}

}  // namespace

ImageAreaWidget::ImageAreaWidget(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName("scb1");
  viewport()->setObjectName("pb1");
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { ScrollBarMoved(); });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { ScrollBarMoved(); });
}

void ImageAreaWidget::ShowScrollState(Size im1, bool autoScroll, Point scroll, int step) {
  showingState_ = true;
  const Size client = DeviceClientSize();
  const auto show = [&](QScrollBar* bar, int content, int page, int position) {
    bar->setRange(0, autoScroll ? std::max(0, content - page) : 0);
    bar->setPageStep(std::max(1, page));
    bar->setSingleStep(std::max(1, step));
    bar->setValue(position);
  };
  show(horizontalScrollBar(), im1.width, client.width, scroll.x);
  show(verticalScrollBar(), im1.height, client.height, scroll.y);
  showingState_ = false;
}

Point ImageAreaWidget::ScrollPosition() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

// Qt's position times the ratio names the screen pixel to within half the ratio: Qt rounds to its
// own pixels. Where the display server tells the pointer within that reach (it has not moved on
// since), its pixel is taken.
Point ImageAreaWidget::ContentPoint(QPointF viewportPoint) const {
  const qreal ratio = viewport()->devicePixelRatioF();
  QPointF device = viewportPoint * ratio;
  if (ratio != 1.0) {
    if (const std::optional<QPoint> pointer = PointerInDevicePixels(*viewport())) {
      if (std::abs(pointer->x() - device.x()) <= ratio / 2 &&
          std::abs(pointer->y() - device.y()) <= ratio / 2)
        device = *pointer;
    }
  }
  const Point scroll = ScrollPosition();
  return {static_cast<int>(std::lround(device.x())) + scroll.x,
          static_cast<int>(std::lround(device.y())) + scroll.y};
}

Size ImageAreaWidget::DeviceClientSize() const {
  const qreal ratio = viewport()->devicePixelRatioF();
  const QSize client = viewport()->size();
  return {static_cast<int32_t>(std::lround(client.width() * ratio)),
          static_cast<int32_t>(std::lround(client.height() * ratio))};
}

void ImageAreaWidget::ScrollBarMoved() {
  if (!showingState_ && handlers_.scrolled) handlers_.scrolled(ScrollPosition());
}

void ImageAreaWidget::scrollContentsBy(int, int) {
  // The core composes the surface for the new position and asks for the repaint.
}

// The surface's pixels are the screen's: drawn at the device pixel ratio, each lands on one.
void ImageAreaWidget::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  QRegion uncovered(viewport()->rect());
  QImage image;
  if (handlers_.surface) {
    const Bitmap& surface = handlers_.surface();
    if (surface.Width() > 0 && surface.Height() > 0 && surface.Format() == PixelFormat::Bgr24) {
      image = QImage(surface.Row(0), surface.Width(), surface.Height(),
                     static_cast<qsizetype>(surface.Stride()), QImage::Format_BGR888);
      image.setDevicePixelRatio(viewport()->devicePixelRatioF());
      // Whole Qt pixels the picture covers; a part-covered edge is filled first and drawn over.
      const QSizeF covered = image.deviceIndependentSize();
      uncovered -= QRect(0, 0, static_cast<int>(covered.width()), static_cast<int>(covered.height()));
    }
  }
  for (const QRect& rect : uncovered) painter.fillRect(rect, QColor(kImageAreaFace));
  if (!image.isNull()) painter.drawImage(QPointF(0, 0), image);
}

MouseEvent ImageAreaWidget::ToMouseEvent(const QMouseEvent& event) const {
  MouseEvent mouse;
  const Point at = ContentPoint(event.position());
  mouse.x = at.x;
  mouse.y = at.y;
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  mouse.shift = {(modifiers & Qt::ShiftModifier) != 0, (modifiers & Qt::ControlModifier) != 0,
                 (modifiers & Qt::AltModifier) != 0};
  return mouse;
}

void ImageAreaWidget::mousePressEvent(QMouseEvent* event) {
  const auto button = ToButton(event->button());
  if (!button || !handlers_.press) return;
  MouseEvent mouse = ToMouseEvent(*event);
  mouse.button = *button;
  handlers_.press(mouse);
}

// A double click is two presses, as the paint box received it.
void ImageAreaWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
}

void ImageAreaWidget::mouseMoveEvent(QMouseEvent* event) {
  if (handlers_.move) handlers_.move(ToMouseEvent(*event));
}

void ImageAreaWidget::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = ToButton(event->button());
  if (!button || !handlers_.release) return;
  MouseEvent mouse = ToMouseEvent(*event);
  mouse.button = *button;
  handlers_.release(mouse);
  if (*button == MouseButton::Right && handlers_.contextMenu)
    handlers_.contextMenu(event->globalPosition().toPoint());
}

void ImageAreaWidget::contextMenuEvent(QContextMenuEvent* event) {
  // The mouse's context menu follows the right-button release; the menu key opens it here.
  if (event->reason() == QContextMenuEvent::Keyboard && handlers_.contextMenu)
    handlers_.contextMenu(event->globalPos());
}

void ImageAreaWidget::resizeEvent(QResizeEvent*) {
  if (handlers_.resized) handlers_.resized();
}

}  // namespace mv
