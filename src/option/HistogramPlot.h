#pragma once
// The bar chart of one channel's 256 level counts, with linear or logarithmic heights, and for the
// range dialogs a low and a high marker that the user drags (the low one never passes the high one).
// Levels outside the markers are drawn pale.

#include <QColor>
#include <QWidget>
#include <functional>

#include "option/ChannelHistogram.h"

namespace mv {

class HistogramPlot : public QWidget {
 public:
  explicit HistogramPlot(QWidget* parent);

  void SetCounts(const LevelCounts& counts, QColor colour);
  void SetLogarithmic(bool logarithmic);
  void ShowMarkers(bool shown);
  // Puts the markers at these levels (clamped to 0 ... 255, low at most high); no callback.
  void SetRange(int low, int high);
  int Low() const { return low_; }
  int High() const { return high_; }

  // The widget point in the middle of a level's bar, at half the plot's height. The bars' area is
  // also the widget's property "barArea": level l covers the l-th of 256 equal parts of its width.
  QPoint PointOfLevel(int level) const;

  // The markers were dragged to (low, high).
  std::function<void(int low, int high)> onRangeDragged;
  // The pointer is over a level, or left the plot (-1).
  std::function<void(int level)> onPointed;

  QSize sizeHint() const override { return {560, 240}; }
  QSize minimumSizeHint() const override { return {300, 140}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  enum class Marker { None, Low, High };

  QRect BarArea() const;
  int LevelAt(int x) const;
  int LeftOfLevel(int level) const;
  double BarHeight(uint64_t count, double tallest) const;
  void DrawMarker(QPainter& painter, int level, const QString& label) const;
  void MoveMarker(Marker marker, int level);

  LevelCounts counts_{};
  QColor colour_ = Qt::darkGray;
  bool logarithmic_ = false;
  bool markersShown_ = false;
  int low_ = 0;
  int high_ = 255;
  int pointed_ = -1;  // the level under the pointer, marked by a faint line
  Marker dragged_ = Marker::None;
};

}  // namespace mv
