#pragma once
// Whole-file input and crash-safe output for the codecs.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mv {

// The file's contents. Throws CodecError when it cannot be opened or read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// The first `count` bytes of the file (fewer when the file is shorter). Lets a reader refuse a file
// of another format without reading all of it. Throws CodecError when it cannot be opened.
std::vector<uint8_t> ReadFileHead(const std::string& path, std::size_t count);

// Writes `bytes` with WriteFileAtomically (platform/AtomicFile.h): a failed write never leaves a
// truncated file where a good one stood. Throws CodecError when the file cannot be written.
void WriteImageFile(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace mv
