#include "codecs/ImageFile.h"

#include <new>

#include "codecs/CodecError.h"
#include "codecs/ImageFormats.h"

namespace mv {

std::optional<DecodedImage> ReadImageFile(const std::string& path) {
  // Only regular files: a folder cannot be read and a named pipe would wait forever.
  std::optional<ByteSource> file;
  try {
    file.emplace(ByteSource::OpenFile(path));
  } catch (const CodecError&) {
    return std::nullopt;
  }
  bool outOfMemory = false;
  for (const ImageFormat& format : ImageFormats()) {
    try {
      return DecodedImage{format.decode(*file), format.id};
    } catch (const CodecError&) {
    } catch (const std::bad_alloc&) {
      outOfMemory = true;
    }
  }
  if (outOfMemory) throw std::bad_alloc();
  return std::nullopt;
}

}  // namespace mv
