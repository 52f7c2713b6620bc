// The part of the seam for backends without a window (headless rendering, the command-line
// tools): nothing is asked or shown, no window or message exists, and no sound plays. A warning
// goes to standard error. Input comes as to a focused 800x600 window in the screen's top-left
// corner; each such backend adds its own cursor, keys and contexts.
#include <cstdio>

#include "platform/Platform.h"

namespace platform {

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
void SetWindowTitle(WindowHandle, const char*) {}
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
void SetCursorVisible(bool) {}
bool WindowHasInputFocus() {
    return true;
}
bool GetPointerHome(CursorPoint& home) {
    home = CursorPoint{400, 300};
    return true;
}

std::string TakeDroppedFile(std::uintptr_t) {
    return {};
}

void PlaySoundFileAsync(const char*) {}

}  // namespace platform
