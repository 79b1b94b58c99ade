#pragma once
// The wave (TSinTrans) by rows, faster than one Convert per pixel and giving its bytes (internal to
// the colour driver's fast paths).
//
// A channel becomes clamp(c + offset) truncated, offset = cos(phase) * amplitude / 3, so for an
// offset that is not an integer the byte is clamp(c + floor(offset)). The offset is approximated in
// double precision (a polynomial cosine after reducing the phase by pi / 2), far more closely than
// its distance from the nearest integer allows whenever it is more than 1e-6 (plus a share growing
// with the phase) from one; pixels whose offset lies closer than that, and rows whose distances
// could overflow 32 bits, take the operation's own Convert.

#include <cstdint>
#include <optional>
#include <span>

#include "colour/ColorFunction.h"
#include "colour/ColorRows.h"

namespace mv {

// The row routine for TSinTrans with these arguments; none when it must keep the rule everywhere (a
// zero wavelength in mode 0, which divides by zero; a value that is not finite; too few params).
// `vector` chooses the AVX2 form where the processor has it (the plain form otherwise).
std::optional<ColorRow> WaveRow(const TColorFunction& func, std::span<const int32_t> params, double value,
                                int32_t mode, bool vector);

}  // namespace mv
