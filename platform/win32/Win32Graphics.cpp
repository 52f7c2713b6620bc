// Device contexts, pixel formats, WGL rendering contexts and the buffer swap.
//
// Each context is asked for a swap interval of 1 (WGL_EXT_swap_control), so that swaps wait
// for the display's retrace where the driver allows it. Every swap is also spaced to at most
// 75 a second: movement, counted in frames, keeps its speed on a display refreshing faster, on
// a driver that ignores the interval and while the window is minimised.
#include "platform/common/ExtensionList.h"
#include "platform/common/FramePacer.h"
#include "platform/win32/Win32Internal.h"

// After <windows.h>, which it needs and does not include.
#include <mmsystem.h>

namespace platform::win32 {
namespace {

// WGL entry points are looked up by name; their types are known only here.
template <typename Function>
Function LookUpWgl(const char* name) {
    // Through void(*)(): the one function-pointer type that converts to any other quietly.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

const char* WglExtensions(HDC hdc) {
    using ExtensionsArb = const char*(WINAPI*)(HDC);
    using ExtensionsExt = const char*(WINAPI*)();
    if (const auto arb = LookUpWgl<ExtensionsArb>("wglGetExtensionsStringARB")) {
        return arb(hdc);
    }
    if (const auto ext = LookUpWgl<ExtensionsExt>("wglGetExtensionsStringEXT")) {
        return ext();
    }
    return nullptr;
}

// Needs the context current on `hdc`.
bool RequestRetraceSync(HDC hdc) {
    using SwapInterval = BOOL(WINAPI*)(int);
    if (!ExtensionListHas(WglExtensions(hdc), "WGL_EXT_swap_control")) {
        return false;
    }
    const auto swapInterval = LookUpWgl<SwapInterval>("wglSwapIntervalEXT");
    return swapInterval != nullptr && swapInterval(1) != FALSE;
}

void WaitForNextSwapSlot() {
    static FramePacer pacer;
    static bool fineTimer = false;
    if (!fineTimer) {
        // Sleeps are otherwise rounded to the 15.6 ms system tick, longer than a 75 Hz period.
        timeBeginPeriod(1);
        fineTimer = true;
    }
    pacer.WaitAfterSwap();
}

}  // namespace
}  // namespace platform::win32

namespace platform {

using namespace win32;

DeviceContext GetWindowDeviceContext(WindowHandle window) {
    return ToDeviceContext(GetDC(ToHwnd(window)));
}

int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    const PIXELFORMATDESCRIPTOR pfd = ToPixelFormatDescriptor(request);
    return ::ChoosePixelFormat(ToHdc(dc), &pfd);
}

bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) {
    const PIXELFORMATDESCRIPTOR pfd = ToPixelFormatDescriptor(request);
    return ::SetPixelFormat(ToHdc(dc), format, &pfd) != FALSE;
}

RenderContext CreateRenderContext(DeviceContext dc) {
    return ToRenderContext(wglCreateContext(ToHdc(dc)));
}

bool MakeContextCurrent(DeviceContext dc, RenderContext context) {
    const HGLRC hglrc = ToHglrc(context);
    if (!wglMakeCurrent(ToHdc(dc), hglrc)) {
        return false;
    }
    if (hglrc != nullptr) {
        RequestRetraceSync(ToHdc(dc));  // refused or ignored, the pacer still holds the rate
    }
    return true;
}

bool DeleteRenderContext(RenderContext context) {
    return wglDeleteContext(ToHglrc(context)) != FALSE;
}

bool SwapFrontAndBack(DeviceContext dc) {
    const bool swapped = SwapBuffers(ToHdc(dc)) != FALSE;
    // Also a failed swap is paced: the frames go on without a context and must not spin.
    WaitForNextSwapSlot();
    return swapped;
}

}  // namespace platform
