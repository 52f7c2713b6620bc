// The cursor and the keyboard as the camera reads them: screen pixels and the asynchronous
// key state.
#include "platform/win32/Win32Internal.h"

namespace platform {

bool GetCursorScreenPosition(CursorPoint& point) {
    POINT pt;
    if (!GetCursorPos(&pt)) {
        return false;
    }
    point.x = pt.x;
    point.y = pt.y;
    return true;
}

bool SetCursorScreenPosition(int x, int y) {
    return SetCursorPos(x, y) != FALSE;
}

void SetCursorVisible(bool visible) {
    // ShowCursor counts: each hide needs its own show.
    ShowCursor(visible ? TRUE : FALSE);
}

bool IsKeyHeld(int virtualKey) {
    // The top bit says "down now"; the low bit (pressed since the last call) is not wanted.
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace platform
