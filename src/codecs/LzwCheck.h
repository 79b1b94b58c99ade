#pragma once
// A check of a GIF image's LZW data before it is decoded. giflib decodes codes that refer to table
// entries not yet defined into arbitrary pixels instead of failing; this walk over the codes refuses
// such data, a minimum code size outside 1 ... 8 and data cut off before its terminator.

#include <cstdint>

#include "codecs/ByteSource.h"

namespace mv {

// `start` is the offset of the minimum code size byte that precedes the data sub-blocks. Throws
// CodecError for malformed data.
void CheckLzwData(const ByteSource& file, uint64_t start);

}  // namespace mv
