#pragma once
// Helpers shared by the codec tests: the conformance image folder, pictures whose every pixel
// differs, and comparison of bitmaps by colour.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

namespace mv::test {

// The folder of the public conformance images, or nullopt when it is absent.
std::optional<std::string> TestDataDir();

std::vector<uint8_t> ReadFile(const std::string& path);

// A width x height picture in the given format whose pixels differ along both axes (indexed
// formats use every index of their palette, which is a ramp of distinct colours).
Bitmap AsymmetricImage(int width, int height, PixelFormat format);

// Greatest channel difference between two bitmaps of equal size, compared by colour.
int MaxChannelDifference(const Bitmap& a, const Bitmap& b);

// Peak signal-to-noise ratio in dB over the three channels, compared by colour.
double Psnr(const Bitmap& a, const Bitmap& b);

// A binary PPM (P6) file as a 24-bit bitmap.
Bitmap ReadPpm(const std::string& path);

}  // namespace mv::test
