// The seam for the command-line tools on Windows (model-info.exe): they read models and draw
// nothing, so there is no window, no context and no sound, and the desktop is never touched:
// the cursor the scene "moves" is only remembered. The calls that need a window are
// platform/common/NoWindow.cpp's.
#include "platform/Platform.h"

namespace platform {
namespace {

CursorPoint g_cursor{400, 300};

}  // namespace

bool GetCursorScreenPosition(CursorPoint& point) {
    point = g_cursor;
    return true;
}
bool SetCursorScreenPosition(int x, int y) {
    g_cursor = {x, y};
    return true;
}
bool IsKeyHeld(int) {
    return false;
}
DeviceContext GetWindowDeviceContext(WindowHandle) {
    return nullptr;
}
int ChoosePixelFormat(DeviceContext, const PixelFormatRequest&) {
    return 0;
}
bool SetPixelFormat(DeviceContext, int, const PixelFormatRequest&) {
    return false;
}
RenderContext CreateRenderContext(DeviceContext) {
    return nullptr;
}
bool MakeContextCurrent(DeviceContext, RenderContext) {
    return false;
}
bool DeleteRenderContext(RenderContext) {
    return false;
}
bool SwapFrontAndBack(DeviceContext) {
    return false;
}

}  // namespace platform
