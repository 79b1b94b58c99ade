#include "ui/BarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <map>

namespace mv {

namespace {

const QColor kInk(0x26, 0x3c, 0x5c);    // outlines
const QColor kArrow(0x2f, 0x6f, 0xc0);  // arrows
const QColor kRuler(0xf2, 0xc9, 0x4c);  // the ruler's body
const QColor kMeasure(0xd0, 0x30, 0x30);

using Painter = void (*)(QPainter&);

QPen Pen(const QColor& color, qreal width = 1.0) {
  QPen pen(color, width);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

// A straight arrow pointing right (mirrored for left).
void StraightArrow(QPainter& p, bool right) {
  if (!right) {
    p.translate(kBarIconSize, 0);
    p.scale(-1, 1);
  }
  QPainterPath arrow;
  arrow.moveTo(2.5, 7.5);
  arrow.lineTo(9.5, 7.5);
  arrow.lineTo(9.5, 3.5);
  arrow.lineTo(15.5, 9.0);
  arrow.lineTo(9.5, 14.5);
  arrow.lineTo(9.5, 10.5);
  arrow.lineTo(2.5, 10.5);
  arrow.closeSubpath();
  p.setPen(Pen(kInk));
  p.setBrush(kArrow);
  p.drawPath(arrow);
}

void NextImage(QPainter& p) {
  StraightArrow(p, true);
}
void PreviousImage(QPainter& p) {
  StraightArrow(p, false);
}

// A three-quarter turn with its head at the top: clockwise, or mirrored for counter-clockwise.
void TurnArrow(QPainter& p, bool clockwise) {
  if (!clockwise) {
    p.translate(kBarIconSize, 0);
    p.scale(-1, 1);
  }
  // The picture being turned.
  p.setPen(Pen(kInk));
  p.setBrush(QColor(0xe8, 0xee, 0xf6));
  p.drawRect(QRectF(6.5, 7.5, 5, 5));
  // The arc from the left round the bottom to the top right, then the head pointing down.
  p.setBrush(Qt::NoBrush);
  p.setPen(Pen(kArrow, 1.8));
  const QRectF circle(2.5, 3.5, 13, 13);
  p.drawArc(circle, 75 * 16, 255 * 16);
  QPainterPath head;
  head.moveTo(12.0, 1.5);
  head.lineTo(16.5, 5.0);
  head.lineTo(11.5, 7.5);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kArrow);
  p.drawPath(head);
}

void RotateLeft(QPainter& p) {
  TurnArrow(p, false);
}
void RotateRight(QPainter& p) {
  TurnArrow(p, true);
}

// "1:1" in block figures inside a frame.
void OriginalSize(QPainter& p) {
  p.setPen(Pen(kInk));
  p.setBrush(QColor(0xe8, 0xee, 0xf6));
  p.drawRect(QRectF(0.5, 2.5, 17, 13));
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  for (const qreal x : {3.0, 12.0}) {
    p.drawRect(QRectF(x + 1, 5, 2, 8));  // the stem
    p.drawRect(QRectF(x, 6, 1, 1));      // the flag
    p.drawRect(QRectF(x, 12, 4, 1));     // the foot
  }
  p.drawRect(QRectF(8, 7, 2, 2));
  p.drawRect(QRectF(8, 11, 2, 2));
}

// A frame with the four corners pushed out to the window's edges.
void FitToWindow(QPainter& p) {
  p.setPen(Pen(kInk));
  p.setBrush(QColor(0xe8, 0xee, 0xf6));
  p.drawRect(QRectF(5.5, 6.5, 7, 5));
  p.setPen(Pen(kArrow, 1.5));
  p.setBrush(Qt::NoBrush);
  const QPointF corners[4][3] = {{{1.5, 6}, {1.5, 1.5}, {6, 1.5}},
                                 {{12, 1.5}, {16.5, 1.5}, {16.5, 6}},
                                 {{1.5, 12}, {1.5, 16.5}, {6, 16.5}},
                                 {{12, 16.5}, {16.5, 16.5}, {16.5, 12}}};
  for (const auto& corner : corners) p.drawPolyline(corner, 3);
}

void RulerBody(QPainter& p, qreal top) {
  p.setPen(Pen(kInk));
  p.setBrush(kRuler);
  p.drawRect(QRectF(0.5, top + 0.5, 17, 6));
  for (int x = 2; x <= 16; x += 2) {
    const qreal length = x % 8 == 0 ? 4 : (x % 4 == 0 ? 3 : 2);
    p.drawLine(QPointF(x + 0.5, top + 1), QPointF(x + 0.5, top + 1 + length));
  }
}

// A ruler with a span marked above it.
void SetUnitLength(QPainter& p) {
  RulerBody(p, 9);
  p.setPen(Pen(kMeasure));
  p.drawLine(QPointF(2.5, 2), QPointF(2.5, 8));
  p.drawLine(QPointF(14.5, 2), QPointF(14.5, 8));
  p.drawLine(QPointF(3, 5.5), QPointF(14, 5.5));
  p.setPen(Qt::NoPen);
  p.setBrush(kMeasure);
  p.drawPolygon(QPolygonF({QPointF(3, 5.5), QPointF(6, 3.5), QPointF(6, 7.5)}));
  p.drawPolygon(QPolygonF({QPointF(14, 5.5), QPointF(11, 3.5), QPointF(11, 7.5)}));
}

// A ruler with a cross over it.
void ResetUnitLength(QPainter& p) {
  RulerBody(p, 9);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Pen(kMeasure, 2.0));
  p.drawLine(QPointF(8, 1.5), QPointF(15, 8.5));
  p.drawLine(QPointF(15, 1.5), QPointF(8, 8.5));
}

void Vertices(QPainter& p, const QPolygonF& points) {
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  for (const QPointF& point : points) p.drawRect(QRectF(point.x() - 1.5, point.y() - 1.5, 3, 3));
}

// Three segments with their vertices marked.
void Polyline(QPainter& p) {
  const QPolygonF points({QPointF(2.5, 14.5), QPointF(6.5, 5.5), QPointF(11.5, 11.5), QPointF(15.5, 3.5)});
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Pen(kArrow, 1.5));
  p.drawPolyline(points);
  p.setRenderHint(QPainter::Antialiasing, false);
  Vertices(p, points);
}

// A filled polygon with its vertices marked.
void Polygon(QPainter& p) {
  const QPolygonF points({QPointF(2.5, 13.5), QPointF(5.5, 3.5), QPointF(15.5, 5.5), QPointF(13.5, 15.5)});
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Pen(kArrow, 1.5));
  p.setBrush(QColor(0x2f, 0x6f, 0xc0, 0x60));
  p.drawPolygon(points);
  p.setRenderHint(QPainter::Antialiasing, false);
  Vertices(p, points);
}

// A square half white, half black.
void Binarize(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(1, 1, 16, 16));
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygonF({QPointF(17, 1), QPointF(17, 17), QPointF(1, 17)}));
  p.setPen(Pen(kInk));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, 17, 17));
}

// A see-through window over a checkerboard.
void Transparency(QPainter& p) {
  p.setPen(Qt::NoPen);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      p.setBrush((x + y) % 2 == 0 ? QColor(0xc8, 0xc8, 0xc8) : QColor(Qt::white));
      p.drawRect(QRectF(1 + x * 4, 1 + y * 4, 4, 4));
    }
  }
  p.setBrush(QColor(0x2f, 0x6f, 0xc0, 0x70));
  p.setPen(Pen(kInk));
  p.drawRect(QRectF(4.5, 4.5, 12, 12));
  p.setPen(Pen(kArrow, 2.0));
  p.drawLine(QPointF(4.5, 5.5), QPointF(16.5, 5.5));
}

// An arrow that turns back to the left.
void Undo(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  QPainterPath curve;
  curve.moveTo(6.0, 6.5);
  curve.lineTo(10.5, 6.5);
  curve.cubicTo(18.0, 6.5, 18.0, 15.5, 10.5, 15.5);
  curve.lineTo(5.5, 15.5);
  p.setPen(Pen(kArrow, 2.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(curve);
  p.setPen(Qt::NoPen);
  p.setBrush(kArrow);
  p.drawPolygon(QPolygonF({QPointF(1.0, 6.5), QPointF(7.0, 2.0), QPointF(7.0, 11.0)}));
}

// The red cross of a Cancel button.
void Cancel(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Pen(QColor(0xc8, 0x20, 0x20), 2.5));
  p.drawLine(QPointF(4, 4), QPointF(14, 14));
  p.drawLine(QPointF(14, 4), QPointF(4, 14));
}

const std::map<std::string, Painter>& Painters() {
  static const std::map<std::string, Painter> painters = {
      {"BitBtn1", NextImage},      {"BitBtn2", PreviousImage}, {"BitBtn3", FitToWindow},
      {"BitBtn4", OriginalSize},   {"BitBtn5", RotateLeft},    {"BitBtn6", RotateRight},
      {"BitBtn7", Polyline},       {"BitBtn8", Transparency},  {"BitBtn9", Polygon},
      {"BitBtn10", SetUnitLength}, {"BitBtn11", Binarize},     {"BitBtn12", ResetUnitLength},
      {"BitBtn13", Undo},          {"Cancel", Cancel}};
  return painters;
}

QPixmap Render(Painter paint, qreal scale) {
  QPixmap pixmap(qRound(kBarIconSize * scale), qRound(kBarIconSize * scale));
  pixmap.setDevicePixelRatio(scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  paint(painter);
  return pixmap;
}

}  // namespace

QIcon BarIcon(const std::string& name) {
  const auto found = Painters().find(name);
  if (found == Painters().end()) return {};
  QIcon icon;
  for (const qreal scale : {1.0, 2.0}) icon.addPixmap(Render(found->second, scale));
  return icon;
}

}  // namespace mv
