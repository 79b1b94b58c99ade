// Checks the window picture the program saved: it has the window's size and is not blank.
// Usage: screenshot_check PICTURE.png WIDTH HEIGHT

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <set>

#include "codecs/PngImage.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: screenshot_check PICTURE.png WIDTH HEIGHT\n");
    return 2;
  }
  const int width = std::atoi(argv[2]);
  const int height = std::atoi(argv[3]);
  mv::PngImage png;
  try {
    png.LoadFromFile(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "screenshot_check: %s: %s\n", argv[1], error.what());
    return 1;
  }
  const mv::Bitmap picture = png.ToBitmap().ToBgr24();
  if (picture.Width() != width || picture.Height() != height) {
    std::fprintf(stderr, "screenshot_check: the picture is %d x %d, the window %d x %d\n", picture.Width(),
                 picture.Height(), width, height);
    return 1;
  }
  // The window shows a photograph-like sample, menus, bars and icons: many colours. A blank or
  // black grab has one or two.
  std::set<mv::ColorRef> colours;
  for (int y = 0; y < picture.Height(); y += 2)
    for (int x = 0; x < picture.Width(); x += 2) colours.insert(picture.ColorAt(x, y));
  if (colours.size() < 64) {
    std::fprintf(stderr, "screenshot_check: only %zu colours: the window looks blank\n", colours.size());
    return 1;
  }
  std::printf("screenshot_check: %d x %d, %zu colours\n", width, height, colours.size());
  return 0;
}
