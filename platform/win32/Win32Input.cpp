// The cursor and the keyboard as the camera reads them: screen pixels, the main window's
// focus and client centre, and the asynchronous key state.
#include "platform/win32/Win32Internal.h"

namespace platform {

bool WindowHasInputFocus() {
    const HWND window = win32::MainWindow();
    return window != nullptr && GetForegroundWindow() == window && !IsIconic(window);
}

bool GetPointerHome(CursorPoint& home) {
    const HWND window = win32::MainWindow();
    RECT client;
    if (window == nullptr || !GetClientRect(window, &client)) {
        return false;
    }
    POINT centre{client.right / 2, client.bottom / 2};
    if (!ClientToScreen(window, &centre)) {
        return false;
    }
    home.x = centre.x;
    home.y = centre.y;
    return true;
}

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
