#include "codecs/FileBytes.h"

#include <fstream>

#include "codecs/CodecError.h"
#include "platform/AtomicFile.h"

namespace mv {

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw CodecError("cannot open " + path);
  const std::streamoff size = in.tellg();
  if (size < 0) throw CodecError("cannot read " + path);
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) throw CodecError("cannot read " + path);
  return bytes;
}

void WriteImageFile(const std::string& path, std::span<const uint8_t> bytes) {
  try {
    WriteFileAtomically(path, bytes);
  } catch (const FileWriteError& error) {
    throw CodecError(error.what());
  }
}

}  // namespace mv
