#include "skin/BlitAxis.h"

#include <cstdint>

namespace skin {

BlitAxis::BlitAxis(int dest, int destExtent, int source, int sourceExtent)
    : destStart_(destExtent < 0 ? dest + destExtent : dest),
      destLength_(destExtent < 0 ? -destExtent : destExtent),
      sourceStart_(sourceExtent < 0 ? source + sourceExtent : source),
      sourceLength_(sourceExtent < 0 ? -sourceExtent : sourceExtent),
      mirrored_((destExtent < 0) != (sourceExtent < 0)) {}

int BlitAxis::sourceAt(int i) const {
    // Sample at the centre of the destination pixel; 64-bit so large stretches cannot overflow.
    auto k = static_cast<int>((2 * std::int64_t(i) + 1) * sourceLength_ / (2 * std::int64_t(destLength_)));
    return sourceStart_ + (mirrored_ ? sourceLength_ - 1 - k : k);
}

} // namespace skin
