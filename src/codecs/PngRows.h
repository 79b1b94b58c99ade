#pragma once
// The image data of a PNG file: the bitmap's rows in PNG byte order, each filtered (None, Sub, Up,
// Average, Paeth, or the adaptive choice among them) and compressed into one zlib stream. Large
// images are filtered and compressed in parts on several threads; each part after the first starts
// with the preceding 32 KiB as its dictionary, so the stream is nearly as small as a single pass.

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"

namespace mv {

// The PNG filter types, and the adaptive choice among them per row.
enum class RowFilter { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4, Adaptive = 5 };

// One row of pixels as PNG stores them: palette indexes packed as in the bitmap, colours as
// R, G, B (the fourth byte of 32-bit pixels dropped, 5-5-5 pixels are not accepted).
void ToPngRow(const Bitmap& image, int y, uint8_t* out);
// Bytes of a row as PNG stores it, without the filter byte.
std::size_t PngRowBytes(const Bitmap& image);

// Writes the filter type byte and the filtered bytes of `row` (previous row `above`, all zero for
// the first row) to `out`; `bpp` is the bytes per complete pixel (at least 1). Adaptive picks the
// filter with the smallest sum of the filtered bytes taken as signed values, the first on ties.
void FilterRow(RowFilter filter, const uint8_t* row, const uint8_t* above, std::size_t length,
               std::size_t bpp, uint8_t* out);

// The zlib stream of the filtered image rows; `level` -1 ... 9 as zlib takes it.
std::vector<uint8_t> CompressPngRows(const Bitmap& image, RowFilter filter, int level);

}  // namespace mv
