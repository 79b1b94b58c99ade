#pragma once
// Which format a name given in the save dialog asks for, and the name the file is written under.

#include <cstdint>
#include <string>

namespace mv {

struct SaveTarget {
  int32_t format = 0;  // an id of the format table (ImageFormats.h)
  std::string path;    // the file to write
};

// The format by the file's own name (the folders above it do not count), searched case-sensitively
// anywhere in it, in this order: ".jpg" JPEG, ".gif" GIF, ".png" PNG; any other name is BMP, and gets
// ".bmp" appended unless it holds ".bmp" already ("a.JPG" becomes "a.JPG.bmp").
SaveTarget ChooseSaveTarget(const std::string& path);

}  // namespace mv
