// The cursor in screen coordinates, the window's hold on it, and the keys by their place on
// the keyboard.
#include <cstring>

#include "platform/sdl2/Sdl2Internal.h"

namespace platform::sdl2 {
namespace {

// False once a warp was seen not to move the cursor. Reading a cursor that cannot be put back
// would turn the view a little further every frame, so then it is not read either.
bool g_cursorWarps = true;

// SDL reads the global cursor only on some systems; elsewhere it silently answers with the
// position inside the focused window.
bool DriverHasGlobalCursor() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr &&
           (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "windows") == 0 ||
            std::strcmp(driver, "cocoa") == 0);
}

struct KeyBinding {
    int virtualKey;
    SDL_Scancode scancode;
    SDL_Scancode alternative;  // SDL_SCANCODE_UNKNOWN when there is none
};

constexpr KeyBinding kKeyBindings[] = {
    {kKeyShift, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT},
    {kKeyEscape, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UNKNOWN},
    {kKeyPageUp, SDL_SCANCODE_PAGEUP, SDL_SCANCODE_UNKNOWN},
    {kKeyPageDown, SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_UNKNOWN},
    {kKeyLeft, SDL_SCANCODE_LEFT, SDL_SCANCODE_UNKNOWN},
    {kKeyUp, SDL_SCANCODE_UP, SDL_SCANCODE_UNKNOWN},
    {kKeyRight, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UNKNOWN},
    {kKeyDown, SDL_SCANCODE_DOWN, SDL_SCANCODE_UNKNOWN},
    // Letters by position: the keys under W, A, S and D of a US layout, whatever they print.
    {kKeyA, SDL_SCANCODE_A, SDL_SCANCODE_UNKNOWN},
    {kKeyD, SDL_SCANCODE_D, SDL_SCANCODE_UNKNOWN},
    {kKeyG, SDL_SCANCODE_G, SDL_SCANCODE_UNKNOWN},
    {kKeyS, SDL_SCANCODE_S, SDL_SCANCODE_UNKNOWN},
    {kKeyW, SDL_SCANCODE_W, SDL_SCANCODE_UNKNOWN},
    {kKeyF1, SDL_SCANCODE_F1, SDL_SCANCODE_UNKNOWN},
    {kKeyF12, SDL_SCANCODE_F12, SDL_SCANCODE_UNKNOWN},
};

}  // namespace

int VirtualKeyFromScancode(SDL_Scancode scancode) {
    for (const KeyBinding& binding : kKeyBindings) {
        if (scancode == binding.scancode ||
            (binding.alternative != SDL_SCANCODE_UNKNOWN && scancode == binding.alternative)) {
            return binding.virtualKey;
        }
    }
    return 0;
}

}  // namespace platform::sdl2

namespace platform {

using namespace sdl2;

bool WindowHasInputFocus() {
    const WindowTag* window = LiveWindow();
    return window != nullptr && window->sdlWindow != nullptr &&
           SDL_GetKeyboardFocus() == window->sdlWindow &&
           (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_MINIMIZED) == 0;
}

bool GetPointerHome(CursorPoint& home) {
    const WindowTag* window = LiveWindow();
    if (window == nullptr || window->sdlWindow == nullptr) {
        return false;
    }
    // SDL places and sizes the client area, in screen coordinates (not drawable pixels).
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(window->sdlWindow, &x, &y);
    SDL_GetWindowSize(window->sdlWindow, &width, &height);
    home.x = x + width / 2;
    home.y = y + height / 2;
    return true;
}

bool GetCursorScreenPosition(CursorPoint& point) {
    if (!EnsureVideo() || !DriverHasGlobalCursor() || !g_cursorWarps) {
        return false;
    }
    int x = 0;
    int y = 0;
    WindowTag* window = LiveWindow();
    if (window != nullptr && window->sdlWindow != nullptr &&
        SDL_GetMouseFocus() == window->sdlWindow) {
        // Over the window the motion events tell the position. SDL's global position is
        // refreshed only by raw input events, which synthetic input (remote desktops, test
        // tools) does not make.
        int windowX = 0;
        int windowY = 0;
        SDL_GetWindowPosition(window->sdlWindow, &windowX, &windowY);
        SDL_GetMouseState(&x, &y);
        x += windowX;
        y += windowY;
    } else {
        SDL_GetGlobalMouseState(&x, &y);
    }
    point.x = x;
    point.y = y;
    return true;
}

bool SetCursorScreenPosition(int x, int y) {
    if (!EnsureVideo() || SDL_WarpMouseGlobal(x, y) != 0) {
        g_cursorWarps = false;
        return false;
    }
    // Some servers accept the warp and leave the cursor where it was (X on Wayland does so
    // while the pointer is not confined). Only a cursor that really went there counts.
    int actualX = 0;
    int actualY = 0;
    if (DriverHasGlobalCursor()) {
        SDL_GetGlobalMouseState(&actualX, &actualY);
        g_cursorWarps = actualX == x && actualY == y;
    }
    // SDL learns of a warp over its window only from the motion event it causes: take that in
    // now, so that a read right after the warp finds the cursor where it was put. Before the
    // window exists there is nothing to take in.
    if (LiveWindow() != nullptr) {
        SDL_PumpEvents();
    }
    return g_cursorWarps;
}

void SetCursorVisible(bool visible) {
    if (EnsureVideo()) {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
}

bool IsKeyHeld(int virtualKey) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (const KeyBinding& binding : kKeyBindings) {
        if (binding.virtualKey != virtualKey) {
            continue;
        }
        const auto pressed = [&](SDL_Scancode scancode) {
            return scancode != SDL_SCANCODE_UNKNOWN && scancode < count && state[scancode] != 0;
        };
        return pressed(binding.scancode) || pressed(binding.alternative);
    }
    return false;
}

}  // namespace platform
