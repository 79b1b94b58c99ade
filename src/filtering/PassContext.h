#pragma once
// What the row producers of a neighbourhood pass work on (internal to the pass).

#include <cstdint>
#include <optional>
#include <span>

#include "filtering/ColorFilter.h"
#include "filtering/RowScheduler.h"
#include "platform/Bitmap.h"

namespace mv {

struct PassContext {
  Bitmap& source;  // the 24-bit copy of the padded bitmap that windows refer to
  Bitmap& output;  // 24-bit, the padded size less 2 * radius each way; output row y is centred on source row
                   // y + radius
  int32_t radius;
  const TColorFilter& filter;
  std::span<const int32_t> kernel;
  double divisor;
  int32_t parameter;

  int Side() const { return 2 * radius + 1; }
  Pixel* SourcePixel(int x, int y) const {
    return reinterpret_cast<Pixel*>(source.Row(y) + 3 * static_cast<std::size_t>(x));
  }
};

// Calls filter.Apply once per pixel with a window into the source: the straightforward rule.
RowProducer GenericRows(const PassContext& pass);

// A faster producer giving the same bytes as GenericRows, when the pass recognises the filter and
// kernel; none otherwise.
std::optional<RowProducer> FastRows(const PassContext& pass);

// Whether rows may be computed on several threads: the filter is known not to write through its window.
bool ReadsOnlyThroughWindow(const TColorFilter& filter);

}  // namespace mv
