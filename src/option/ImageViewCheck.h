#pragma once
// Whether an image handed across the library's interface can be read as it claims: rows of
// `width` blue-green-red triples, `stride` bytes apart, within the program's image limits.

#include "optionlib/option_abi.h"

namespace mv {

bool IsReadableView(const MvImageView* image);

}  // namespace mv
