#include "platform/offscreen/InputScript.h"

namespace platform::offscreen {

void InputScript::Hold(int virtualKey, int firstFrame, int lastFrame) {
    holds_.push_back({virtualKey, firstFrame, lastFrame});
}

void InputScript::MoveCursor(int dx, int dy, int frame) {
    CursorPoint& offset = cursorOffsets_[frame];
    offset.x += dx;
    offset.y += dy;
}

bool InputScript::IsHeld(int virtualKey, int frame) const {
    for (const KeyHold& hold : holds_) {
        if (hold.virtualKey == virtualKey && hold.firstFrame <= frame && frame <= hold.lastFrame) {
            return true;
        }
    }
    return false;
}

CursorPoint InputScript::CursorOffset(int frame) const {
    const auto found = cursorOffsets_.find(frame);
    return found != cursorOffsets_.end() ? found->second : CursorPoint{};
}

}  // namespace platform::offscreen
