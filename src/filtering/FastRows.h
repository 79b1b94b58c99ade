#pragma once
// The fast producers of a neighbourhood pass (internal). Each gives the same bytes as GenericRows
// for the filters and kernels it is chosen for.

#include <memory>

#include "filtering/ConvolutionFinisher.h"
#include "filtering/PassContext.h"

namespace mv {

// TCustomFilter whose weights all equal `weight`: running column and row sums, whatever the size.
RowProducer BoxSumRows(const PassContext& pass, int32_t weight,
                       std::shared_ptr<const ConvolutionFinisher> finish);

// TCustomFilter with 16-bit weights whose weighted sums fit 32 bits: the direct sum with 16-bit
// multiply-adds (AVX2 where the processor has it).
RowProducer DirectConvolutionRows(const PassContext& pass, std::shared_ptr<const ConvolutionFinisher> finish);

// TCustomFilter with few non-zero weights (line and half-line kernels), 16-bit weights and sums
// that fit 32 bits: the sum over the non-zero weights only (AVX2 where the processor has it).
RowProducer SparseConvolutionRows(const PassContext& pass, std::shared_ptr<const ConvolutionFinisher> finish);

// TMedianFilter on a 3 x 3 window with a rank 0..8: a vectorised sorting network over brightness.
RowProducer MedianRows(const PassContext& pass, int rank);

}  // namespace mv
