#pragma once
// Pictures between the clipboard and the core: bitmaps both ways as 24-bit pixels, and an SVG
// drawing (the clipboard's stand-in for a metafile) rendered at its natural size.

#include <QByteArray>
#include <QImage>
#include <optional>

#include "platform/Bitmap.h"

namespace mv {

// A 24-bit copy of any bitmap.
QImage ToQImage(const Bitmap& bitmap);
// A 24-bit bitmap; pixels that are not opaque are composed over white, as on a new bitmap.
Bitmap FromQImage(const QImage& image);
// The drawing on a white bitmap of its natural size; nullopt when it cannot be read, has no size or
// is larger than any picture the program opens.
std::optional<Bitmap> RenderSvg(const QByteArray& svg);

}  // namespace mv
