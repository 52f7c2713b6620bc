// The seam's records turned into the Win32 ones and back. Pure: no call reaches the system
// except the UTF-8 conversions.
#include <cstring>

#include "platform/win32/Win32Internal.h"

namespace platform::win32 {

PIXELFORMATDESCRIPTOR ToPixelFormatDescriptor(const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR pfd;
    std::memset(&pfd, 0, sizeof pfd);
    pfd.nSize = request.size;
    pfd.nVersion = request.version;
    pfd.dwFlags = request.flags;
    pfd.iPixelType = request.pixelType;
    pfd.cColorBits = request.colorBits;
    pfd.cRedBits = request.redBits;
    pfd.cRedShift = request.redShift;
    pfd.cGreenBits = request.greenBits;
    pfd.cGreenShift = request.greenShift;
    pfd.cBlueBits = request.blueBits;
    pfd.cBlueShift = request.blueShift;
    pfd.cAlphaBits = request.alphaBits;
    pfd.cAlphaShift = request.alphaShift;
    pfd.cAccumBits = request.accumBits;
    pfd.cAccumRedBits = request.accumRedBits;
    pfd.cAccumGreenBits = request.accumGreenBits;
    pfd.cAccumBlueBits = request.accumBlueBits;
    pfd.cAccumAlphaBits = request.accumAlphaBits;
    pfd.cDepthBits = request.depthBits;
    pfd.cStencilBits = request.stencilBits;
    pfd.cAuxBuffers = request.auxBuffers;
    pfd.iLayerType = request.layerType;
    pfd.bReserved = request.reserved;
    pfd.dwLayerMask = request.layerMask;
    pfd.dwVisibleMask = request.visibleMask;
    pfd.dwDamageMask = request.damageMask;
    return pfd;
}

DEVMODEA ToFullScreenDevMode(const DisplayMode& mode) {
    DEVMODEA devMode;
    std::memset(&devMode, 0, sizeof devMode);
    devMode.dmSize = sizeof devMode;
    devMode.dmPelsWidth = static_cast<DWORD>(mode.width);
    devMode.dmPelsHeight = static_cast<DWORD>(mode.height);
    devMode.dmBitsPerPel = static_cast<DWORD>(mode.bitsPerPixel);
    devMode.dmDisplayFrequency = static_cast<DWORD>(mode.frequency);
    devMode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    return devMode;
}

Message FromNativeMessage(const MSG& msg) {
    Message message;
    message.window = ToWindow(msg.hwnd);
    message.id = msg.message;
    message.wParam = msg.wParam;
    message.lParam = msg.lParam;
    return message;
}

MSG ToNativeMessage(const Message& message) {
    MSG msg;
    std::memset(&msg, 0, sizeof msg);
    msg.hwnd = ToHwnd(message.window);
    msg.message = message.id;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    return msg;
}

std::wstring WideFromUtf8(const char* text) {
    if (text == nullptr || *text == '\0') {
        return {};
    }
    // With the length -1 the count includes the terminating zero.
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (units <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), units) != units) {
        return {};
    }
    wide.resize(static_cast<std::size_t>(units) - 1);
    return wide;
}

std::string Utf8FromWide(const wchar_t* text) {
    if (text == nullptr || *text == L'\0') {
        return {};
    }
    // With the length -1 the count includes the terminating zero.
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr) != bytes) {
        return {};
    }
    utf8.resize(static_cast<std::size_t>(bytes) - 1);
    return utf8;
}

}  // namespace platform::win32
