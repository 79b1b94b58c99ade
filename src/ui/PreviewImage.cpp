#include "ui/PreviewImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/ClipboardImages.h"

namespace mv {

PreviewImage::PreviewImage(QWidget* parent, const char* name, int side) : QFrame(parent) {
  setObjectName(name);
  setFixedSize(side, side);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setMouseTracking(true);
}

void PreviewImage::SetPicture(const Bitmap& picture, std::optional<ColorRef> transparent) {
  if (picture.IsEmpty()) {
    picture_ = QImage();
  } else {
    picture_ = ToQImage(picture).convertToFormat(QImage::Format_ARGB32);
    if (transparent) {
      const QRgb key = qRgb(RedOf(*transparent), GreenOf(*transparent), BlueOf(*transparent));
      for (int y = 0; y < picture_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(y));
        for (int x = 0; x < picture_.width(); ++x) {
          if ((line[x] & 0x00FFFFFF) == (key & 0x00FFFFFF)) line[x] = 0;
        }
      }
    }
  }
  update();
}

void PreviewImage::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (picture_.isNull()) return;
  const double g = std::min(static_cast<double>(width()) / picture_.width(),
                            static_cast<double>(height()) / picture_.height());
  const int w = static_cast<int>(picture_.width() * g), h = static_cast<int>(picture_.height() * g);
  QPainter painter(this);
  painter.drawImage(QRect((width() - w) / 2, (height() - h) / 2, w, h), picture_);
}

void PreviewImage::mouseMoveEvent(QMouseEvent* event) {
  if (onMove) onMove(event->position().toPoint());
}

void PreviewImage::mousePressEvent(QMouseEvent* event) {
  if (onPress && event->button() == Qt::LeftButton) onPress(event->position().toPoint());
}

}  // namespace mv
