#pragma once
// Image1 of the option-and-preview dialog (and the pictures of the RGB dialog): a picture shown
// centred and scaled by min(width / picture width, height / picture height) on a white, lowered
// panel, optionally with one colour transparent. The pointer over it is reported in its coordinates.

#include <QFrame>
#include <QImage>
#include <functional>
#include <optional>

#include "platform/Bitmap.h"
#include "platform/Color.h"

namespace mv {

class PreviewImage : public QFrame {
 public:
  PreviewImage(QWidget* parent, const char* name, int side);
  void SetPicture(const Bitmap& picture, std::optional<ColorRef> transparent = std::nullopt);
  std::function<void(QPoint)> onMove;
  std::function<void(QPoint)> onPress;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace mv
