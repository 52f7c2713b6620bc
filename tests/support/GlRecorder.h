// What the GL recorder (GlRecorder.cpp) answers to the queries it does not take from the log.
#pragma once

namespace fake {

// Channel `c` of the pixel in `column` of `row` (rows counted from the bottom, as GL counts
// them) that the recorder's glReadPixels gives.
inline unsigned char RecordedPixelByte(int column, int row, int c) {
    return static_cast<unsigned char>(column * 7 + row * 31 + c * 101);
}

}  // namespace fake
