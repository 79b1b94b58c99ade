#include "ui/ClipboardImages.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cstring>

#include "platform/ImageLimits.h"

namespace mv {

namespace {

bool WithinLimits(QSize size) {
  return WithinImageLimits(size.width(), size.height());
}

}  // namespace

QImage ToQImage(const Bitmap& bitmap) {
  const Bitmap converted = bitmap.Format() == PixelFormat::Bgr24 ? Bitmap() : bitmap.ToBgr24();
  const Bitmap& source = bitmap.Format() == PixelFormat::Bgr24 ? bitmap : converted;
  QImage image(source.Width(), source.Height(), QImage::Format_BGR888);
  const std::size_t rowBytes = static_cast<std::size_t>(source.Width()) * 3;
  for (int y = 0; y < source.Height(); ++y) std::memcpy(image.scanLine(y), source.Row(y), rowBytes);
  return image;
}

Bitmap FromQImage(const QImage& image) {
  QImage opaque = image;
  if (image.hasAlphaChannel()) {
    opaque = QImage(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
  }
  const QImage bgr = opaque.convertToFormat(QImage::Format_BGR888);
  Bitmap bitmap(bgr.width(), bgr.height(), PixelFormat::Bgr24);
  const std::size_t rowBytes = static_cast<std::size_t>(bgr.width()) * 3;
  for (int y = 0; y < bgr.height(); ++y) std::memcpy(bitmap.Row(y), bgr.constScanLine(y), rowBytes);
  return bitmap;
}

std::optional<Bitmap> RenderSvg(const QByteArray& svg) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return std::nullopt;
  const QSize size = renderer.defaultSize();
  if (!WithinLimits(size)) return std::nullopt;
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    QPainter painter(&picture);
    renderer.render(&painter);
  }
  return FromQImage(picture);
}

}  // namespace mv
