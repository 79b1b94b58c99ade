#include "codecs/ImageFile.h"

#include <sys/stat.h>

#include <new>

#include "codecs/CodecError.h"
#include "codecs/ImageFormats.h"

namespace mv {

std::optional<DecodedImage> ReadImageFile(const std::string& path) {
  // Only regular files: a folder cannot be read and a named pipe would wait forever.
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  bool outOfMemory = false;
  for (const ImageFormat& format : ImageFormats()) {
    try {
      return DecodedImage{format.decode(path), format.id};
    } catch (const CodecError&) {
    } catch (const std::bad_alloc&) {
      outOfMemory = true;
    }
  }
  if (outOfMemory) throw std::bad_alloc();
  return std::nullopt;
}

}  // namespace mv
