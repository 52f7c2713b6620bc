// The input a headless run plays instead of a user: which keys are held on which frames, and
// where the cursor stands when a frame reads it. Frames are numbered from 1.
#pragma once

#include <map>
#include <vector>

#include "platform/Platform.h"

namespace platform::offscreen {

class InputScript {
public:
    // Holds the key with this virtual-key code from `firstFrame` to `lastFrame`, both included.
    void Hold(int virtualKey, int firstFrame, int lastFrame);
    // On `frame` the cursor stands (dx, dy) pixels from the point the camera re-centres it to;
    // several moves for one frame add up.
    void MoveCursor(int dx, int dy, int frame);

    bool IsHeld(int virtualKey, int frame) const;
    // The offset the cursor stands at when `frame` reads it; (0, 0) for a frame without a move.
    CursorPoint CursorOffset(int frame) const;

private:
    struct KeyHold {
        int virtualKey;
        int firstFrame;
        int lastFrame;
    };
    std::vector<KeyHold> holds_;
    std::map<int, CursorPoint> cursorOffsets_;
};

}  // namespace platform::offscreen
