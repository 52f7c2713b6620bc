// The headless backend of the seam: no window, no display server and no sound. Input comes from
// the script of OffscreenScript.h; the rendering context is OffscreenContext.cpp's. A warning
// box becomes a line on standard error, and the Yes/No prompt is answered No.
#include <cstdio>

#include "platform/Platform.h"
#include "platform/offscreen/OffscreenScript.h"

namespace platform {
namespace {

// The screen point the camera puts the cursor back to every frame.
constexpr CursorPoint kCursorHome{400, 300};

struct InputState {
    offscreen::InputScript script;
    int frame = 0;  // 0: before the first frame
    CursorPoint cursor = kCursorHome;
};

InputState& Input() {
    static InputState state;
    return state;
}

}  // namespace

namespace offscreen {

void UseScript(const InputScript& script) {
    Input().script = script;
    Input().frame = 0;
}

void BeginFrame(int frame) {
    InputState& input = Input();
    input.frame = frame;
    const CursorPoint offset = input.script.CursorOffset(frame);
    if (offset.x != 0 || offset.y != 0) {
        input.cursor = {kCursorHome.x + offset.x, kCursorHome.y + offset.y};
    }
}

}  // namespace offscreen

int AskYesNo(const char*, const char*) {
    return kAnswerNo;
}

void ShowWarning(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
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
    point = Input().cursor;
    return true;
}

bool SetCursorScreenPosition(int x, int y) {
    Input().cursor = {x, y};
    return true;
}

void SetCursorVisible(bool) {}

bool IsKeyHeld(int virtualKey) {
    const InputState& input = Input();
    return input.script.IsHeld(virtualKey, input.frame);
}

void PlaySoundFileAsync(const char*) {}

}  // namespace platform
