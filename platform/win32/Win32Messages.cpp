// The thread's message queue: peeked, drained, translated and dispatched.
#include "platform/win32/Win32Internal.h"

namespace platform::win32 {
namespace {

// The last message taken from the queue, whole: the seam's record drops its time and cursor
// point, which translation and the window procedure may still ask for.
MSG g_lastRemoved{};

bool IsLastRemoved(const Message& message) {
    return g_lastRemoved.hwnd == ToHwnd(message.window) && g_lastRemoved.message == message.id &&
           g_lastRemoved.wParam == message.wParam && g_lastRemoved.lParam == message.lParam;
}

MSG NativeMessage(const Message& message) {
    return IsLastRemoved(message) ? g_lastRemoved : ToNativeMessage(message);
}

}  // namespace
}  // namespace platform::win32

namespace platform {

using namespace win32;

bool PeekWaitingMessage(Message& message) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        return false;
    }
    message = FromNativeMessage(msg);
    return true;
}

bool RemoveWaitingMessage(Message& message) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    g_lastRemoved = msg;
    message = FromNativeMessage(msg);
    return true;
}

void TranslateKeyMessage(const Message& message) {
    const MSG msg = NativeMessage(message);
    TranslateMessage(&msg);
}

std::intptr_t DispatchToWindow(const Message& message) {
    const MSG msg = NativeMessage(message);
    return DispatchMessageA(&msg);
}

void PostQuit(int exitCode) {
    PostQuitMessage(exitCode);
}

}  // namespace platform
