#include "codecs/ImageFile.h"

#include <exception>
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
  std::exception_ptr outOfMemory;
  for (const ImageFormat& format : ImageFormats()) {
    try {
      return DecodedImage{format.decode(*file), format.id};
    } catch (const CodecError&) {
    } catch (const std::bad_alloc&) {
      if (!outOfMemory) outOfMemory = std::current_exception();  // says for what picture
    }
  }
  if (outOfMemory) std::rethrow_exception(outOfMemory);
  return std::nullopt;
}

}  // namespace mv
