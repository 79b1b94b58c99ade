#pragma once
// Fetches a numbered kernel from the kernel library: loads <programFolder>/mvfilters.so, calls its
// GetFilter once and unloads it again. Nothing is cached between fetches.

#include <cstdint>
#include <string>

#include "kernels/MaskArray.h"
#include "platform/Feedback.h"

namespace mv {

// Fills `kernel` (sized by the caller) and returns the kernel's divisor, or 0 when the library
// refused. A missing library or one without GetFilter shows the reinstall error box and answers 0.
int32_t FetchKernel(const std::string& programFolder, int32_t number, int32_t size, TMaskArray& kernel,
                    Feedback& feedback);

}  // namespace mv
