// The window class, the one main window and its procedure's default handling.
//
// The SDL window behind a WindowTag is made as late as possible: SDL on X11 picks the GL visual
// when it creates a window, and the pixel format is only asked for inside the creation message.
// So ChoosePixelFormat makes it (RealizeWindow), and CreateMainWindow makes a plain one only
// when the procedure chose no format.
#include <strings.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sdl2/Sdl2Internal.h"

namespace platform::sdl2 {
namespace {

struct RegisteredClass {
    std::string name;
    WindowClass definition;
};

std::vector<RegisteredClass> g_classes;
WindowTag* g_window = nullptr;
// The records of windows that are gone are kept, never freed: the portable code may still hold
// their handles and device contexts, and every handle is checked against g_window before use.
std::vector<WindowTag*> g_retiredWindows;

const RegisteredClass* FindClass(const char* name) {
    for (const RegisteredClass& registered : g_classes) {
        // Class names compare without regard to case, as on Win32.
        if (strcasecmp(registered.name.c_str(), name) == 0) {
            return &registered;
        }
    }
    return nullptr;
}

// How long after showing a framed window its frame size is waited for.
constexpr Uint32 kFrameFitMilliseconds = 2000;

bool IsPopup(const WindowTag& window) {
    return (window.style & kStylePopup) != 0;
}

// A popup over the whole desktop: the full-screen view without a display mode change.
bool CoversDesktop(const WindowTag& window) {
    return IsPopup(window) && window.x == 0 && window.y == 0 &&
           window.outerWidth == ScreenWidth() && window.outerHeight == ScreenHeight();
}

// The size message for a client size not reported yet, which then counts as reported; false
// when the size is the one reported last.
bool TakeSizeChange(WindowTag& window, Message& message) {
    int width = 0;
    int height = 0;
    CurrentClientSize(window, width, height);
    if (width == window.reportedWidth && height == window.reportedHeight) {
        return false;
    }
    window.reportedWidth = width;
    window.reportedHeight = height;
    message.window = &window;
    message.id = kMessageSize;
    message.lParam = PackSize(width, height);
    return true;
}

void SendSizeIfChanged(WindowTag& window) {
    Message message;
    if (TakeSizeChange(window, message)) {
        window.procedure(&window, message.id, message.wParam, message.lParam);
    }
}

void GiveUpWithoutWindow(const char* reason) {
    // Without a window nothing can end the loop, so end it at once.
    std::fprintf(stderr, "walkthrough: cannot open a window: %s\n", reason);
    PostQuit(0);
}

}  // namespace

WindowTag* LiveWindow() {
    return g_window;
}

bool IsLiveWindow(const WindowTag* window) {
    return window != nullptr && window == g_window;
}

WindowTag* WindowFromSdlId(std::uint32_t sdlWindowId) {
    if (g_window != nullptr && g_window->sdlWindow != nullptr &&
        SDL_GetWindowID(g_window->sdlWindow) == sdlWindowId) {
        return g_window;
    }
    return nullptr;
}

bool RealizeWindow(WindowTag& window, const GlFormat* format) {
    // A shown window, or one whose pixel format is set, keeps its visual, as on Win32.
    if (window.sdlWindow != nullptr && (window.shown || window.pixelFormatIndex != 0)) {
        return false;
    }
    Uint32 flags = SDL_WINDOW_HIDDEN;
    flags |= IsPopup(window) ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_RESIZABLE;
    if (window.ownsDisplayMode) {
        flags |= SDL_WINDOW_FULLSCREEN;
    } else if (CoversDesktop(window)) {
        // Full screen on the desktop's own mode. Told so, window managers also lift it above
        // their panels, which a plain borderless window stays under.
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    if (format != nullptr) {
        ApplyGlAttributes(*format);
        flags |= SDL_WINDOW_OPENGL;
    }
    SDL_Window* created = SDL_CreateWindow(window.title.c_str(), window.x, window.y,
                                           window.outerWidth, window.outerHeight, flags);
    if (created == nullptr) {
        return false;
    }
    SDL_DisplayMode mode{};
    if (window.ownsDisplayMode && ActiveDisplayMode(mode)) {
        SDL_SetWindowDisplayMode(created, &mode);
    }
    if (window.sdlWindow != nullptr) {
        SDL_DestroyWindow(window.sdlWindow);
    }
    window.sdlWindow = created;
    window.hasGlFormat = format != nullptr;
    if (format != nullptr) {
        window.glFormat = *format;
    }
    return true;
}

// SDL sizes and places the client area; the seam gives the outer rectangle. The window manager
// tells the frame only some time after the window is mapped, so this is tried again on every
// pump for a while; then the client is shrunk and shifted so that the frame fills the
// rectangle asked for. Without a frame (or without word of one) the client is the rectangle.
void ContinueFrameFit(WindowTag& window) {
    if (!window.frameFitPending || window.sdlWindow == nullptr) {
        return;
    }
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    if (SDL_GetWindowBordersSize(window.sdlWindow, &top, &left, &bottom, &right) != 0 ||
        (top | left | bottom | right) == 0) {
        if (SDL_TICKS_PASSED(SDL_GetTicks(), window.frameFitDeadline)) {
            window.frameFitPending = false;  // no frame, or none the window manager tells
        }
        return;
    }
    window.frameFitPending = false;
    SDL_SetWindowSize(window.sdlWindow, std::max(1, window.outerWidth - left - right),
                      std::max(1, window.outerHeight - top - bottom));
    SDL_SetWindowPosition(window.sdlWindow, window.x + left, window.y + top);
}

void CurrentClientSize(const WindowTag& window, int& width, int& height) {
    width = 0;
    height = 0;
    if (window.sdlWindow == nullptr ||
        (SDL_GetWindowFlags(window.sdlWindow) & SDL_WINDOW_MINIMIZED) != 0) {
        return;
    }
    SDL_GL_GetDrawableSize(window.sdlWindow, &width, &height);
}

void QueueSizeIfChanged(WindowTag& window) {
    Message message;
    if (TakeSizeChange(window, message)) {
        QueueMessage(message);
    }
}

}  // namespace platform::sdl2

namespace platform {

using namespace sdl2;

bool RegisterWindowClass(const WindowClass& windowClass) {
    if (windowClass.className == nullptr || windowClass.procedure == nullptr ||
        FindClass(windowClass.className) != nullptr) {
        return false;
    }
    g_classes.push_back({windowClass.className, windowClass});
    return true;
}

WindowHandle CreateMainWindow(const WindowSpec& windowSpec) {
    if (!EnsureVideo()) {
        GiveUpWithoutWindow(VideoFailure());
        return nullptr;
    }
    const RegisteredClass* windowClass =
        windowSpec.className != nullptr ? FindClass(windowSpec.className) : nullptr;
    if (windowClass == nullptr || g_window != nullptr) {
        return nullptr;  // unknown class, or a second main window
    }

    auto* window = new WindowTag;
    window->procedure = windowClass->definition.procedure;
    window->title = windowSpec.title != nullptr ? windowSpec.title : "";
    window->style = windowSpec.style;
    window->x = windowSpec.x;
    window->y = windowSpec.y;
    window->outerWidth = std::max(1, windowSpec.width);
    window->outerHeight = std::max(1, windowSpec.height);
    window->deviceContext.window = window;
    SDL_DisplayMode mode{};
    if (IsPopup(*window) && ActiveDisplayMode(mode)) {
        window->ownsDisplayMode = true;
    } else {
        ReleaseDisplayModeHolder();  // an ordinary window does not keep the desktop switched
    }
    g_window = window;

    window->procedure(window, kMessageCreate, 0, 0);
    if (!IsLiveWindow(window)) {
        return nullptr;  // destroyed by its own procedure
    }
    if (window->sdlWindow == nullptr && !RealizeWindow(*window, nullptr)) {
        g_window = nullptr;
        g_retiredWindows.push_back(window);
        GiveUpWithoutWindow(SDL_GetError());
        return nullptr;
    }
    SendSizeIfChanged(*window);
    return window;
}

void SetWindowTitle(WindowHandle window, const char* title) {
    if (IsLiveWindow(window) && window->sdlWindow != nullptr && title != nullptr) {
        SDL_SetWindowTitle(window->sdlWindow, title);
    }
}

void ShowMainWindow(WindowHandle window) {
    if (!IsLiveWindow(window) || window->sdlWindow == nullptr) {
        return;
    }
    SDL_ShowWindow(window->sdlWindow);
    window->shown = true;
    if (window->ownsDisplayMode) {
        ReleaseDisplayModeHolder();  // the main window holds the mode from now on
    } else if (!IsPopup(*window)) {
        window->frameFitPending = true;
        window->frameFitDeadline = SDL_GetTicks() + kFrameFitMilliseconds;
        ContinueFrameFit(*window);
    }
    SDL_RaiseWindow(window->sdlWindow);
    QueueSizeIfChanged(*window);
}

void UpdateMainWindow(WindowHandle) {
    // Nothing is painted outside the frames.
}

std::intptr_t DefaultWindowProcedure(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t) {
    if (message == kMessageDropFiles) {
        TakeDroppedFile(wParam);  // a drop the procedure leaves is let go
    }
    if (message == kMessageClose && IsLiveWindow(window)) {
        // Closing a window that does not handle the close destroys it, as on Win32.
        window->procedure(window, kMessageDestroy, 0, 0);
        if (window->sdlWindow != nullptr) {
            SDL_DestroyWindow(window->sdlWindow);
        }
        window->sdlWindow = nullptr;
        g_window = nullptr;
        g_retiredWindows.push_back(window);
    }
    return 0;
}

}  // namespace platform
