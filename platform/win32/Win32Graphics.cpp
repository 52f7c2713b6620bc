// Device contexts, pixel formats, WGL rendering contexts and the buffer swap.
//
// A context that accepts a swap interval of 1 (WGL_EXT_swap_control) makes each swap wait for
// the display's retrace. Where no context does, where its swaps turn out not to wait after all,
// and while the window is minimised, the swaps are spaced to at most 75 a second instead, so
// that movement, which is counted in frames, keeps about the same speed.
#include <algorithm>
#include <vector>

#include "platform/common/ExtensionList.h"
#include "platform/common/FramePacer.h"
#include "platform/win32/RetraceCheck.h"
#include "platform/win32/Win32Internal.h"

// After <windows.h>, which it needs and does not include.
#include <mmsystem.h>

namespace platform::win32 {
namespace {

struct ContextSync {
    HGLRC context = nullptr;
    bool retraceRequested = false;  // the driver accepted a swap interval of 1
    RetraceCheck check;
};

// Every context that has been made current, with whether its swaps wait for the retrace.
std::vector<ContextSync> g_contexts;

ContextSync* FindContext(HGLRC context) {
    for (ContextSync& known : g_contexts) {
        if (known.context == context) {
            return &known;
        }
    }
    return nullptr;
}

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

// Also notes the swap that just finished for the current context's check.
bool SwapWaitedForRetrace(HDC hdc, bool swapped) {
    ContextSync* current = FindContext(wglGetCurrentContext());
    if (!swapped || current == nullptr || !current->retraceRequested) {
        return false;
    }
    current->check.RecordSwap(RetraceCheck::Clock::now());
    // A minimised window has no retrace to wait for.
    return current->check.SwapsWait() && !IsIconic(WindowFromDC(hdc));
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
    if (hglrc != nullptr && FindContext(hglrc) == nullptr) {
        ContextSync added;
        added.context = hglrc;
        added.retraceRequested = RequestRetraceSync(ToHdc(dc));
        g_contexts.push_back(added);
    }
    return true;
}

bool DeleteRenderContext(RenderContext context) {
    const HGLRC hglrc = ToHglrc(context);
    g_contexts.erase(
        std::remove_if(g_contexts.begin(), g_contexts.end(),
                       [hglrc](const ContextSync& known) { return known.context == hglrc; }),
        g_contexts.end());
    return wglDeleteContext(hglrc) != FALSE;
}

bool SwapFrontAndBack(DeviceContext dc) {
    const HDC hdc = ToHdc(dc);
    const bool swapped = SwapBuffers(hdc) != FALSE;
    // Also a failed swap is paced: the frames go on without a context and must not spin.
    if (!SwapWaitedForRetrace(hdc, swapped)) {
        WaitForNextSwapSlot();
    }
    return swapped;
}

}  // namespace platform
