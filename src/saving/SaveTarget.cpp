#include "saving/SaveTarget.h"

#include "codecs/ImageFormats.h"
#include "shell/PathText.h"

namespace mv {

SaveTarget ChooseSaveTarget(const std::string& path) {
  const std::string name = FileNamePart(path);
  for (const int32_t id : {kFormatJpeg, kFormatGif, kFormatPng}) {
    if (name.find(FindImageFormat(id)->extension) != std::string::npos) return {id, path};
  }
  const std::string_view bmp = FindImageFormat(kFormatBmp)->extension;
  if (name.find(bmp) != std::string::npos) return {kFormatBmp, path};
  return {kFormatBmp, path + std::string(bmp)};
}

}  // namespace mv
