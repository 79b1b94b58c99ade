#pragma once
// Whole-file input (for measurements) and crash-safe output for the codecs.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mv {

// The file's contents (the readers themselves read only what they need: ByteSource.h). Throws CodecError when
// it cannot be opened or read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// Writes `bytes` with WriteFileAtomically (platform/AtomicFile.h): a failed write never leaves a
// truncated file where a good one stood. Throws CodecError when the file cannot be written.
void WriteImageFile(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace mv
