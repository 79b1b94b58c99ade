#include "option/HistogramPlot.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace mv {

namespace {

constexpr int kSideMargin = 10;
constexpr int kTopMargin = 8;
constexpr int kAxisHeight = 30;  // the level scale and the marker handles under the bars

QColor Pale(const QColor& colour) {
  return QColor((colour.red() + 3 * 255) / 4, (colour.green() + 3 * 255) / 4, (colour.blue() + 3 * 255) / 4);
}

}  // namespace

HistogramPlot::HistogramPlot(QWidget* parent) : QWidget(parent) {
  setObjectName("plot");
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void HistogramPlot::SetCounts(const LevelCounts& counts, QColor colour) {
  counts_ = counts;
  colour_ = colour;
  update();
}

void HistogramPlot::SetLogarithmic(bool logarithmic) {
  logarithmic_ = logarithmic;
  update();
}

void HistogramPlot::ShowMarkers(bool shown) {
  markersShown_ = shown;
  update();
}

void HistogramPlot::SetRange(int low, int high) {
  high_ = std::clamp(high, 0, 255);
  low_ = std::clamp(low, 0, high_);
  update();
}

QRect HistogramPlot::BarArea() const {
  return QRect(kSideMargin, kTopMargin, std::max(1, width() - 2 * kSideMargin),
               std::max(1, height() - kTopMargin - kAxisHeight));
}

int HistogramPlot::LeftOfLevel(int level) const {
  const QRect area = BarArea();
  return area.left() + level * area.width() / 256;
}

int HistogramPlot::LevelAt(int x) const {
  const QRect area = BarArea();
  const int level = static_cast<int>(std::floor((x - area.left()) * 256.0 / area.width()));
  return std::clamp(level, 0, 255);
}

QPoint HistogramPlot::PointOfLevel(int level) const {
  return QPoint((LeftOfLevel(level) + LeftOfLevel(level + 1)) / 2, BarArea().center().y());
}

double HistogramPlot::BarHeight(uint64_t count, double tallest) const {
  if (tallest <= 0) return 0;
  const double value = logarithmic_ ? std::log1p(static_cast<double>(count)) : static_cast<double>(count);
  return value / tallest * BarArea().height();
}

void HistogramPlot::resizeEvent(QResizeEvent*) {
  setProperty("barArea", BarArea());
}

void HistogramPlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = BarArea();
  painter.fillRect(rect(), palette().window());
  painter.fillRect(area, Qt::white);

  const uint64_t most = *std::max_element(counts_.begin(), counts_.end());
  const double tallest = logarithmic_ ? std::log1p(static_cast<double>(most)) : static_cast<double>(most);
  for (int level = 0; level < 256; ++level) {
    const double bar = BarHeight(counts_[level], tallest);
    if (bar <= 0) continue;
    const bool kept = !markersShown_ || (level >= low_ && level <= high_);
    const int left = LeftOfLevel(level);
    const int barWidth = std::max(1, LeftOfLevel(level + 1) - left);
    const int top = area.bottom() + 1 - std::max(1, static_cast<int>(std::lround(bar)));
    painter.fillRect(QRect(left, top, barWidth, area.bottom() + 1 - top), kept ? colour_ : Pale(colour_));
  }
  if (pointed_ >= 0) {
    const int x = PointOfLevel(pointed_).x();
    painter.setPen(QColor(0, 0, 0, 60));
    painter.drawLine(x, area.top(), x, area.bottom());
  }
  painter.setPen(Qt::gray);
  painter.drawRect(area.adjusted(0, 0, -1, -1));

  painter.setPen(palette().windowText().color());
  for (const int level : {0, 64, 128, 192, 255}) {
    const int x = PointOfLevel(level).x();
    painter.drawLine(x, area.bottom() + 1, x, area.bottom() + 4);
    const QRect label(x - 20, area.bottom() + 4, 40, 14);
    painter.drawText(label, Qt::AlignCenter, QString::number(level));
  }
  if (markersShown_) {
    DrawMarker(painter, low_, "下限");
    DrawMarker(painter, high_, "上限");
  }
}

void HistogramPlot::DrawMarker(QPainter& painter, int level, const QString& label) const {
  const QRect area = BarArea();
  const int x = PointOfLevel(level).x();
  painter.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
  painter.drawLine(x, area.top(), x, area.bottom());
  QPainterPath handle;
  const int tip = area.bottom() + 17;
  handle.moveTo(x, tip);
  handle.lineTo(x - 6, tip + 10);
  handle.lineTo(x + 6, tip + 10);
  handle.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillPath(handle, QColor(0, 90, 200));
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QColor(0, 90, 200));
  // The lower mark's label stands left of its line and the upper one's right of it, unless that
  // side has no room (a mark at the graph's end): then the label goes to the other side.
  bool leftSide = label == "下限";
  if (leftSide && x - 64 < area.left()) leftSide = false;
  if (!leftSide && x + 64 > area.right()) leftSide = true;
  const QRect text = leftSide ? QRect(x - 64, area.top() + 2, 60, 14) : QRect(x + 4, area.top() + 2, 60, 14);
  painter.drawText(text, (leftSide ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                   QString("%1 %2").arg(label).arg(level));
}

void HistogramPlot::MoveMarker(Marker marker, int level) {
  if (marker == Marker::Low)
    low_ = std::min(level, high_);
  else
    high_ = std::max(level, low_);
  update();
  if (onRangeDragged) onRangeDragged(low_, high_);
}

void HistogramPlot::mousePressEvent(QMouseEvent* event) {
  if (!markersShown_ || event->button() != Qt::LeftButton) return;
  const int level = LevelAt(event->position().toPoint().x());
  // The marker nearer the pointer; between two markers at one level, the side pointed to decides.
  if (level < low_)
    dragged_ = Marker::Low;
  else if (level > high_)
    dragged_ = Marker::High;
  else
    dragged_ = level - low_ <= high_ - level ? Marker::Low : Marker::High;
  MoveMarker(dragged_, level);
}

void HistogramPlot::mouseMoveEvent(QMouseEvent* event) {
  const int level = LevelAt(event->position().toPoint().x());
  pointed_ = level;
  update();
  if (onPointed) onPointed(level);
  if (dragged_ != Marker::None) MoveMarker(dragged_, level);
}

void HistogramPlot::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragged_ = Marker::None;
}

void HistogramPlot::leaveEvent(QEvent*) {
  pointed_ = -1;
  update();
  if (onPointed) onPointed(-1);
}

}  // namespace mv
