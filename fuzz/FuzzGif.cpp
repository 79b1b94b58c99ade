// Fuzz target: the GIF reader on arbitrary bytes. Failing with CodecError is the expected outcome
// for most inputs; anything else (a crash, a sanitizer report, another exception) is a finding.

#include <cstddef>
#include <cstdint>

#include "FuzzLimits.h"
#include "codecs/CodecError.h"
#include "codecs/GifImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mv::GifImage image(mv::FuzzLimits());
  try {
    image.LoadFromMemory({data, size});
    const mv::Bitmap bitmap = image.ToBitmap();
    if (!bitmap.IsEmpty()) (void)bitmap.ColorAt(bitmap.Width() - 1, bitmap.Height() - 1);
  } catch (const mv::CodecError&) {
  }
  return 0;
}
