// SDL's video subsystem, the screen size and the full-screen display mode.
//
// SDL changes a display mode only for a visible full-screen window. So a mode change starts a
// stand-in window that holds the mode until the main window (still to be created) takes it
// over when it is shown; the change is checked while the stand-in holds it.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/sdl2/Sdl2Internal.h"

namespace platform::sdl2 {
namespace {

enum class VideoState { kNotStarted, kRunning, kFailed };
VideoState g_videoState = VideoState::kNotStarted;
std::string g_videoFailure;

SDL_Window* g_modeHolder = nullptr;
SDL_DisplayMode g_heldMode{};

// The program ends without undoing anything, but a switched display mode must not outlive it
// (X keeps a mode after its client is gone). Leaving full screen gives the desktop its mode back.
void RestoreDesktopModeAtExit() {
    ReleaseDisplayModeHolder();
    WindowTag* window = LiveWindow();
    if (window != nullptr && window->ownsDisplayMode && window->sdlWindow != nullptr) {
        SDL_SetWindowFullscreen(window->sdlWindow, 0);
    }
}

Uint32 PixelFormatForDepth(int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 8:
            return SDL_PIXELFORMAT_INDEX8;
        case 15:
            return SDL_PIXELFORMAT_RGB555;
        case 16:
            return SDL_PIXELFORMAT_RGB565;
        case 24:
            return SDL_PIXELFORMAT_RGB24;
        case 32:
            return SDL_PIXELFORMAT_RGB888;
        default:
            return SDL_PIXELFORMAT_UNKNOWN;  // any
    }
}

bool CurrentModeIs(int displayIndex, int width, int height) {
    SDL_DisplayMode current{};
    SDL_Rect bounds{};
    return SDL_GetCurrentDisplayMode(displayIndex, &current) == 0 && current.w == width &&
           current.h == height && SDL_GetDisplayBounds(displayIndex, &bounds) == 0 &&
           bounds.w == width && bounds.h == height;
}

// Without a display SDL falls back on drivers that draw nowhere; a window there could never be
// seen or closed. They count only when asked for by name (SDL_VIDEODRIVER).
bool HasDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool drawsNowhere = driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
                              std::strcmp(driver, "dummy") == 0;
    return !drawsNowhere || SDL_GetHint(SDL_HINT_VIDEODRIVER) != nullptr;
}

}  // namespace

bool EnsureVideo() {
    if (g_videoState == VideoState::kNotStarted) {
        // Closing the window is one close message and nothing more. Ctrl+C and kill still
        // come as SDL's quit event, which asks the window to close: the program then ends as
        // it does on a close, and gives a switched display mode back.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        g_videoState = SDL_Init(SDL_INIT_VIDEO) == 0 ? VideoState::kRunning : VideoState::kFailed;
        if (g_videoState == VideoState::kRunning && !HasDisplay()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            SDL_SetError("no display to show a window on");
            g_videoState = VideoState::kFailed;
        }
        if (g_videoState == VideoState::kFailed) {
            g_videoFailure = SDL_GetError();
        } else {
            // Files dropped on the window open a model; dropped text means nothing here.
            SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
            SDL_EventState(SDL_DROPTEXT, SDL_DISABLE);
        }
    }
    return g_videoState == VideoState::kRunning;
}

const char* VideoFailure() {
    return g_videoFailure.c_str();
}

bool ActiveDisplayMode(SDL_DisplayMode& mode) {
    if (g_modeHolder == nullptr) {
        return false;
    }
    mode = g_heldMode;
    return true;
}

void ReleaseDisplayModeHolder() {
    if (g_modeHolder != nullptr) {
        SDL_DestroyWindow(g_modeHolder);
        g_modeHolder = nullptr;
    }
}

}  // namespace platform::sdl2

namespace platform {

using namespace sdl2;

int ScreenWidth() {
    SDL_DisplayMode mode{};
    return EnsureVideo() && SDL_GetCurrentDisplayMode(0, &mode) == 0 ? mode.w : 0;
}

int ScreenHeight() {
    SDL_DisplayMode mode{};
    return EnsureVideo() && SDL_GetCurrentDisplayMode(0, &mode) == 0 ? mode.h : 0;
}

bool ChangeDisplayMode(const DisplayMode& mode) {
    if (!EnsureVideo()) {
        return false;
    }
    ReleaseDisplayModeHolder();

    // SDL offers the closest mode at least as large; anything but the asked size is a refusal.
    // Depth and refresh rate are taken as close as the display has them.
    SDL_DisplayMode wanted{};
    wanted.format = PixelFormatForDepth(mode.bitsPerPixel);
    wanted.w = mode.width;
    wanted.h = mode.height;
    wanted.refresh_rate = mode.frequency;
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest) == nullptr || closest.w != mode.width ||
        closest.h != mode.height) {
        return false;
    }

    SDL_Window* holder =
        SDL_CreateWindow("", 0, 0, mode.width, mode.height,
                         SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN | SDL_WINDOW_HIDDEN);
    if (holder == nullptr) {
        return false;
    }
    if (SDL_SetWindowDisplayMode(holder, &closest) != 0) {
        SDL_DestroyWindow(holder);
        return false;
    }
    SDL_ShowWindow(holder);
    SDL_PumpEvents();
    // SDL may report success and leave the desktop as it was: believe only the display.
    if (!CurrentModeIs(SDL_GetWindowDisplayIndex(holder), mode.width, mode.height)) {
        SDL_DestroyWindow(holder);
        return false;
    }
    g_modeHolder = holder;
    g_heldMode = closest;
    static const bool restoreRegistered = std::atexit(RestoreDesktopModeAtExit) == 0;
    (void)restoreRegistered;
    return true;
}

}  // namespace platform
