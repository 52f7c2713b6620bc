// The seam for the command-line tools on Windows (model-info.exe): they read models and draw
// nothing, so there is no window, no context and no sound, and the desktop is never touched:
// the cursor the scene "moves" is only remembered. A warning goes to standard error.
#include <cstdio>

#include "platform/Platform.h"

namespace platform {
namespace {

CursorPoint g_cursor{400, 300};

}  // namespace

int AskYesNo(const char*, const char*) {
    return kAnswerNo;
}
void ShowWarning(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption != nullptr ? caption : "",
                 text != nullptr ? text : "");
}
bool ChangeDisplayMode(const DisplayMode&) {
    return false;
}
int ScreenWidth() {
    return 800;
}
int ScreenHeight() {
    return 600;
}
bool RegisterWindowClass(const WindowClass&) {
    return false;
}
WindowHandle CreateMainWindow(const WindowSpec&) {
    return nullptr;
}
void ShowMainWindow(WindowHandle) {}
void UpdateMainWindow(WindowHandle) {}
bool PeekWaitingMessage(Message&) {
    return false;
}
bool RemoveWaitingMessage(Message&) {
    return false;
}
void TranslateKeyMessage(const Message&) {}
std::intptr_t DispatchToWindow(const Message&) {
    return 0;
}
std::intptr_t DefaultWindowProcedure(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
    return 0;
}
void PostQuit(int) {}
bool GetCursorScreenPosition(CursorPoint& point) {
    point = g_cursor;
    return true;
}
bool SetCursorScreenPosition(int x, int y) {
    g_cursor = {x, y};
    return true;
}
void SetCursorVisible(bool) {}
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
void PlaySoundFileAsync(const char*) {}

}  // namespace platform
