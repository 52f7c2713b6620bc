// How an image is reduced to a side: by the smallest power of two that brings both its sides
// within it, each side to the ceiling of its quotient. Shared by the decoders that reduce as
// they decode and the budget that reckons with the result.
#pragma once

namespace platform {

inline int ReducedSide(int side, int factor) {
    return side / factor + (side % factor != 0 ? 1 : 0);
}

inline int ReductionFactor(int width, int height, int wantedSide) {
    const int wanted = wantedSide < 1 ? 1 : wantedSide;
    int factor = 1;
    while ((ReducedSide(width, factor) > wanted || ReducedSide(height, factor) > wanted) &&
           factor < (1 << 30)) {
        factor *= 2;
    }
    return factor;
}

}  // namespace platform
