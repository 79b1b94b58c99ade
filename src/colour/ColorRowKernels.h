#pragma once
// The row routines behind the colour driver's fast paths (internal to ColorRows.cpp), each in a
// plain form and, where the processor offers byte permutes (AVX-512 VBMI), a vector form giving the
// same bytes. Rows are 24-bit, blue-green-red, converted in place.

#include <array>
#include <cstdint>

namespace mv {

// One table of 256 results per channel, in memory order: blue, green, red.
using ChannelTables = std::array<std::array<uint8_t, 256>, 3>;

// What decides black or white in a binarization: the channel sum, the largest or the smallest channel.
enum class BinarizeKey { Sum, Maximum, Minimum };

// Whether the vector forms may run on this processor.
bool HasByteVectorKernels();

void LookUpRowPlain(uint8_t* row, int width, const ChannelTables& tables);
void GreyRowPlain(uint8_t* row, int width);
// White where the key reaches `threshold` (which may exceed every key: all black).
void BinarizeRowPlain(uint8_t* row, int width, BinarizeKey key, int threshold);
void ExchangeRowPlain(uint8_t* row, int width);

void LookUpRowVector(uint8_t* row, int width, const ChannelTables& tables);
void GreyRowVector(uint8_t* row, int width);
void BinarizeRowVector(uint8_t* row, int width, BinarizeKey key, int threshold);
void ExchangeRowVector(uint8_t* row, int width);

}  // namespace mv
