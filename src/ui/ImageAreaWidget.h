#pragma once
// The scroll box scb1 with the paint box pb1: shows the viewport surface the core composes (the
// visible part of the image area), hands presses, moves and releases with their buttons and modifier
// keys to the core in content coordinates, and tells it when the user scrolls or the visible part
// changes its size. The scroll bars show the core's view state.
//
// The core's image area is in device pixels, so 100 % shows one image pixel per pixel of the screen
// and the overlay is drawn as finely as the screen shows, whatever the device pixel ratio: the
// surface is painted at that ratio, the visible part's size and the mouse positions are converted to
// device pixels, and the scroll bars count device pixels.

#include <QAbstractScrollArea>
#include <functional>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"
#include "shell/InputTypes.h"

namespace mv {

// The background where the surface does not reach (the scroll box's face colour).
inline constexpr QRgb kImageAreaFace = 0xF0F0F0;

class ImageAreaWidget : public QAbstractScrollArea {
 public:
  struct Handlers {
    std::function<const Bitmap&()> surface;
    std::function<void(const MouseEvent&)> press;
    std::function<void(const MouseEvent&)> move;
    std::function<void(const MouseEvent&)> release;
    std::function<void(QPoint globalPosition)> contextMenu;  // after a right-button release
    std::function<void(Point)> scrolled;
    std::function<void()> resized;
  };

  explicit ImageAreaWidget(QWidget* parent);
  void SetHandlers(Handlers handlers) { handlers_ = std::move(handlers); }

  // The scroll bars from the core's view: Im1's size, whether the bars follow it (off while the view
  // is fitted), the scroll position and the arrow step.
  void ShowScrollState(Size im1, bool autoScroll, Point scroll, int step);
  Point ScrollPosition() const;
  // A point of the visible part (in Qt's coordinates) in content coordinates (device pixels).
  Point ContentPoint(QPointF viewportPoint) const;
  // The visible part's size in device pixels.
  Size DeviceClientSize() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  MouseEvent ToMouseEvent(const QMouseEvent& event) const;
  void ScrollBarMoved();

  Handlers handlers_;
  bool showingState_ = false;
};

}  // namespace mv
