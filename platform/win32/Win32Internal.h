// What the files of the Win32 backend share: the handles of the seam are the Win32 handles
// themselves, and the seam's records map field for field onto the Win32 ones. Not for the
// portable code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/Platform.h"

namespace platform::win32 {

// The seam's message parameters travel unchanged in the Win32 ones.
static_assert(std::is_same_v<std::uintptr_t, WPARAM>);
static_assert(std::is_same_v<std::intptr_t, LPARAM>);
static_assert(std::is_same_v<std::intptr_t, LRESULT>);

// The seam's handles are opaque: a Win32 handle is carried in one as it is, never dereferenced.
inline HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
inline WindowHandle ToWindow(HWND hwnd) {
    return reinterpret_cast<WindowHandle>(hwnd);
}
inline HDC ToHdc(DeviceContext dc) {
    return reinterpret_cast<HDC>(dc);
}
inline DeviceContext ToDeviceContext(HDC hdc) {
    return reinterpret_cast<DeviceContext>(hdc);
}
inline HGLRC ToHglrc(RenderContext context) {
    return reinterpret_cast<HGLRC>(context);
}
inline RenderContext ToRenderContext(HGLRC hglrc) {
    return reinterpret_cast<RenderContext>(hglrc);
}

// The window CreateMainWindow made last, or null while there is none.
HWND MainWindow();

// The request as a PIXELFORMATDESCRIPTOR: every field copied, nothing added.
PIXELFORMATDESCRIPTOR ToPixelFormatDescriptor(const PixelFormatRequest& request);

// A zeroed DEVMODEA of its full size asking for the mode's size, depth and refresh rate.
DEVMODEA ToFullScreenDevMode(const DisplayMode& mode);

Message FromNativeMessage(const MSG& msg);
// A MSG with the message's window, id and parameters; time and cursor point are zero.
MSG ToNativeMessage(const Message& message);

// UTF-16 for the wide-character functions. Null gives an empty text; bytes that are not
// UTF-8 each become U+FFFD.
std::wstring WideFromUtf8(const char* text);
// UTF-8 of a zero-terminated UTF-16 text. Null gives an empty text; a lone surrogate becomes
// U+FFFD.
std::string Utf8FromWide(const wchar_t* text);

// A WM_DROPFILES reached a window of the seam with this drop handle (its wParam): from now on
// TakeDroppedFile may read and release it.
void NoteDropArrived(std::uintptr_t drop);

}  // namespace platform::win32
