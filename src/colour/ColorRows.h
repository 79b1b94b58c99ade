#pragma once
// How the colour-change driver converts one row: the straightforward rule (one virtual Convert per
// pixel) or, for the operations it recognises, a faster routine giving the same bytes.
//
// Fast routines:
// - a table per channel for the operations whose channel result depends on that channel's value
//   only (brightness, gamma, contrast, offsets, inversion, solarization, posterization, XOR, the
//   histogram stretch); the tables are filled by the operation's own Convert, so they hold exactly
//   its results; an operation that raises for any channel value keeps the straightforward rule, which
//   raises where a serial run would;
// - grey scale, binarization and the channel exchange, by vector code where the processor has it;
// - the wave (TSinTrans), from an approximation of its offset that is trusted only where it decides
//   the byte (WaveRows.h).

#include <cstdint>
#include <functional>
#include <span>

#include "colour/ColorFunction.h"

namespace mv {

// Converts the pixels [0, width) of row y in place (24-bit, blue-green-red).
using ColorRow = std::function<void(uint8_t* row, int width, int y)>;

// The straightforward rule: Convert for every pixel, left to right.
ColorRow ReferenceColorRow(const TColorFunction& func, std::span<const int32_t> params, double value,
                           int32_t mode);

// Which forms of the fast routines may be used: the vector forms where the processor has them, or
// the plain forms only (their tests use this).
enum class RowKernels { Fastest, Plain };

// A fast routine when one applies, otherwise the straightforward rule. The routine keeps what it
// needs of params, value and mode; `func` must outlive it.
ColorRow MakeColorRow(const TColorFunction& func, std::span<const int32_t> params, double value, int32_t mode,
                      RowKernels kernels = RowKernels::Fastest);

}  // namespace mv
