#include "filtering/TwoDirectionEdges.h"

#include "filtering/BitmapArithmetic.h"

namespace mv {

std::optional<Bitmap> FinishEdges(Bitmap edges, const Bitmap& original, const EdgeFinish& finish,
                                  Feedback& feedback) {
  if (finish.variant == EdgeVariant::LineArt) {
    InvertChannels(edges);
    return edges;
  }
  if (finish.kernelNumber == kThinLineKernel) InvertChannels(edges);
  Bitmap enhanced = original;
  if (!BitmapArithmetic(enhanced, edges, finish.arithmeticProgress, BitmapOperation::Add, finish.coefficient,
                        feedback)) {
    return std::nullopt;
  }
  return enhanced;
}

}  // namespace mv
