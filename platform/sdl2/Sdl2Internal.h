// What the files of the SDL2 backend share: the records behind the opaque handles of the seam
// and the few helpers that cross from one responsibility to another. Not for the portable code.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "platform/common/FramePacer.h"

namespace platform {

// The framebuffer a window's GL visual is chosen for. Each field is a minimum, as in a
// pixel-format request; the driver may give more.
struct GlFormat {
    int redBits = 0;
    int greenBits = 0;
    int blueBits = 0;
    int alphaBits = 0;
    int bufferBits = 0;
    int depthBits = 0;
    int stencilBits = 0;
    int accumRedBits = 0;
    int accumGreenBits = 0;
    int accumBlueBits = 0;
    int accumAlphaBits = 0;
    bool doubleBuffer = false;

    bool operator==(const GlFormat& other) const;
    bool operator!=(const GlFormat& other) const { return !(*this == other); }
};

// The device context of a window: the window itself plus what the swap needs to know.
struct DeviceContextTag {
    WindowTag* window = nullptr;
    FramePacer pacer;
};

struct WindowTag {
    WindowProcedure procedure = nullptr;
    std::string title;
    std::uint32_t style = 0;
    int x = 0;
    int y = 0;
    int outerWidth = 0;
    int outerHeight = 0;
    // Covers the display in the switched display mode (only for a popup window while the mode
    // change holds).
    bool ownsDisplayMode = false;

    SDL_Window* sdlWindow = nullptr;
    bool hasGlFormat = false;  // whether sdlWindow was made for OpenGL, with glFormat
    GlFormat glFormat;
    int pixelFormatIndex = 0;  // set once by SetPixelFormat, as on Win32
    bool shown = false;
    bool frameFitPending = false;  // outer size not yet fitted to the window manager's frame
    Uint32 frameFitDeadline = 0;

    DeviceContextTag deviceContext;
    int reportedWidth = -1;  // the last size handed to the procedure
    int reportedHeight = -1;
};

struct RenderContextTag {
    SDL_GLContext context = nullptr;
    WindowTag* window = nullptr;
    bool swapIntervalTried = false;
};

}  // namespace platform

namespace platform::sdl2 {

// Starts SDL's video subsystem on first use; false when there is no display to talk to.
bool EnsureVideo();
// Why EnsureVideo failed.
const char* VideoFailure();

// The live main window, or null. Handles from the portable code are checked against it.
WindowTag* LiveWindow();
bool IsLiveWindow(const WindowTag* window);
WindowTag* WindowFromSdlId(std::uint32_t sdlWindowId);

// (Re)creates the SDL window behind `window`, for OpenGL with `format` when it is not null.
// The window keeps its old SDL window when this fails.
bool RealizeWindow(WindowTag& window, const GlFormat* format);

// Fits a framed window's outer size once the window manager has told its frame (see there).
void ContinueFrameFit(WindowTag& window);

// The drawable size a size message should carry now: 0x0 while minimised.
void CurrentClientSize(const WindowTag& window, int& width, int& height);
// Queues a size message when the client size differs from the last one reported.
void QueueSizeIfChanged(WindowTag& window);
void QueueMessage(const Message& message);

// Keeps a dropped file's path for TakeDroppedFile; returns the drop's id, never 0.
std::uintptr_t KeepDroppedFile(std::string path);

// The mode switched to by ChangeDisplayMode, while it holds; false when none does.
bool ActiveDisplayMode(SDL_DisplayMode& mode);
// Hands the switched mode over to the main window: the stand-in window that held it goes.
void ReleaseDisplayModeHolder();

// The virtual-key code of a physical key, or 0 for keys the seam does not name.
int VirtualKeyFromScancode(SDL_Scancode scancode);

// The GL attributes SDL reads when it picks a visual and when it creates a context.
void ApplyGlAttributes(const GlFormat& format);

}  // namespace platform::sdl2
