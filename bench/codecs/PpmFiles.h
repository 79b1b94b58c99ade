#pragma once
// The benchmarks' pictures as binary PPM files (P6, 8 bits), the form every peer tool reads.

#include <cstdio>
#include <string>
#include <vector>

#include "codecs/CodecError.h"
#include "codecs/FileBytes.h"
#include "platform/AtomicFile.h"
#include "platform/Bitmap.h"

namespace mv::bench {

inline Bitmap ReadPpm(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  int width = 0, height = 0, max = 0, consumed = 0;
  if (std::sscanf(reinterpret_cast<const char*>(bytes.data()), "P6 %d %d %d%n", &width, &height, &max,
                  &consumed) != 3 ||
      max != 255)
    throw CodecError("not an 8-bit P6 file");
  const uint8_t* p = bytes.data() + consumed + 1;
  if (bytes.size() < static_cast<std::size_t>(consumed + 1) + static_cast<std::size_t>(width) * height * 3)
    throw CodecError("PPM is truncated");
  Bitmap image(width, height, PixelFormat::Bgr24);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.Row(y);
    for (int x = 0; x < width; ++x, p += 3, row += 3) row[0] = p[2], row[1] = p[1], row[2] = p[0];
  }
  return image;
}

inline void WritePpm(const std::string& path, const Bitmap& image) {
  std::string header =
      "P6\n" + std::to_string(image.Width()) + " " + std::to_string(image.Height()) + "\n255\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* row = image.Row(y);
    for (int x = 0; x < image.Width(); ++x, row += 3) bytes.insert(bytes.end(), {row[2], row[1], row[0]});
  }
  WriteFileAtomically(path, bytes);
}

}  // namespace mv::bench
