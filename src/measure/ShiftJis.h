#pragma once
// UTF-8 text in Shift-JIS (code page 932), the encoding of the measurement log file, so logs kept by
// earlier versions can be appended to.

#include <string>
#include <string_view>

namespace mv {

// Each character the code page lacks, and each byte that is no valid UTF-8, becomes "?"; the
// conversion never fails.
std::string ToShiftJis(std::string_view utf8);

}  // namespace mv
