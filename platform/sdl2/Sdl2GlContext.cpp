// Device context, pixel format, the OpenGL context and the buffer swap.
//
// A pixel format is a GlFormat: the request read as minimum sizes. Formats are numbered from 1
// in the order they are first asked for.
#include <algorithm>
#include <vector>

#include "platform/sdl2/Sdl2Internal.h"

namespace platform::sdl2 {
namespace {

std::vector<GlFormat> g_formats;
std::vector<RenderContextTag*> g_contexts;
// Paces swaps asked for on a device context that is no longer (or never was) a window's.
FramePacer g_pacerWithoutWindow;

GlFormat FormatFromRequest(const PixelFormatRequest& request) {
    GlFormat format;
    // A total without a split shares it out evenly: 16 bits ask for at least 5 a channel.
    const int evenShare = (request.colorBits - request.alphaBits) / 3;
    format.redBits = request.redBits != 0 ? request.redBits : evenShare;
    format.greenBits = request.greenBits != 0 ? request.greenBits : evenShare;
    format.blueBits = request.blueBits != 0 ? request.blueBits : evenShare;
    format.alphaBits = request.alphaBits;
    format.bufferBits = request.colorBits;
    format.depthBits = request.depthBits;
    format.stencilBits = request.stencilBits;
    const int accumShare = request.accumBits / 4;
    format.accumRedBits = request.accumRedBits != 0 ? request.accumRedBits : accumShare;
    format.accumGreenBits = request.accumGreenBits != 0 ? request.accumGreenBits : accumShare;
    format.accumBlueBits = request.accumBlueBits != 0 ? request.accumBlueBits : accumShare;
    format.accumAlphaBits = request.accumAlphaBits != 0 ? request.accumAlphaBits : accumShare;
    format.doubleBuffer = (request.flags & kPixelDoubleBuffer) != 0;
    return format;
}

int IndexOfFormat(const GlFormat& format) {
    auto found = std::find(g_formats.begin(), g_formats.end(), format);
    if (found == g_formats.end()) {
        g_formats.push_back(format);
        found = g_formats.end() - 1;
    }
    return static_cast<int>(found - g_formats.begin()) + 1;
}

// Whether SDL can make a window with this visual, tried on a hidden window of its own.
bool CanMakeWindowFor(const GlFormat& format) {
    ApplyGlAttributes(format);
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
    if (probe == nullptr) {
        return false;
    }
    SDL_DestroyWindow(probe);
    return true;
}

WindowTag* WindowOf(DeviceContext dc) {
    WindowTag* window = LiveWindow();
    return window != nullptr && dc == &window->deviceContext ? window : nullptr;
}

bool IsLiveContext(RenderContext context) {
    return context != nullptr &&
           std::find(g_contexts.begin(), g_contexts.end(), context) != g_contexts.end();
}

}  // namespace

void ApplyGlAttributes(const GlFormat& format) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, format.redBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, format.greenBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, format.blueBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, format.bufferBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, format.accumRedBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, format.accumGreenBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, format.accumBlueBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, format.accumAlphaBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, format.doubleBuffer ? 1 : 0);
    // The program speaks OpenGL 1.1: ask for the old-style context, which is a compatibility
    // context of whatever version the driver has.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
}

}  // namespace platform::sdl2

namespace platform {

using namespace sdl2;

bool GlFormat::operator==(const GlFormat& other) const {
    return redBits == other.redBits && greenBits == other.greenBits && blueBits == other.blueBits &&
           alphaBits == other.alphaBits && bufferBits == other.bufferBits &&
           depthBits == other.depthBits && stencilBits == other.stencilBits &&
           accumRedBits == other.accumRedBits && accumGreenBits == other.accumGreenBits &&
           accumBlueBits == other.accumBlueBits && accumAlphaBits == other.accumAlphaBits &&
           doubleBuffer == other.doubleBuffer;
}

DeviceContext GetWindowDeviceContext(WindowHandle window) {
    return IsLiveWindow(window) ? &window->deviceContext : nullptr;
}

int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    WindowTag* window = WindowOf(dc);
    // Layer types other than the main plane and colour-index pixels have no SDL counterpart.
    if (window == nullptr || request.pixelType == kPixelTypeColorIndex ||
        request.layerType != kPixelMainPlane) {
        return 0;
    }
    const GlFormat format = FormatFromRequest(request);
    if (!window->hasGlFormat || window->glFormat != format) {
        // Before the format is set the window is still hidden and can be made again with the
        // visual for this request; afterwards only a stand-in can tell whether one exists.
        const bool possible = (window->shown || window->pixelFormatIndex != 0)
                                  ? CanMakeWindowFor(format)
                                  : RealizeWindow(*window, &format);
        if (!possible) {
            return 0;
        }
    }
    return IndexOfFormat(format);
}

bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest&) {
    WindowTag* window = WindowOf(dc);
    if (window == nullptr || format < 1 || format > static_cast<int>(g_formats.size())) {
        return false;
    }
    const GlFormat& chosen = g_formats[static_cast<std::size_t>(format - 1)];
    if (window->pixelFormatIndex != 0) {
        return window->pixelFormatIndex == format;  // set once, as on Win32
    }
    if ((!window->hasGlFormat || window->glFormat != chosen) && !RealizeWindow(*window, &chosen)) {
        return false;
    }
    window->pixelFormatIndex = format;
    return true;
}

RenderContext CreateRenderContext(DeviceContext dc) {
    WindowTag* window = WindowOf(dc);
    if (window == nullptr || window->sdlWindow == nullptr || !window->hasGlFormat) {
        return nullptr;
    }
    // SDL reads the attributes again to create the context, and makes it current; creating a
    // context leaves the current one as it was.
    ApplyGlAttributes(window->glFormat);
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(window->sdlWindow);
    if (context == nullptr) {
        return nullptr;
    }
    SDL_GL_MakeCurrent(previousContext != nullptr ? previousWindow : nullptr, previousContext);
    auto* created = new RenderContextTag;
    created->context = context;
    created->window = window;
    g_contexts.push_back(created);
    return created;
}

bool MakeContextCurrent(DeviceContext dc, RenderContext context) {
    if (context == nullptr) {
        return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
    }
    WindowTag* window = WindowOf(dc);
    if (window == nullptr || window->sdlWindow == nullptr || !IsLiveContext(context) ||
        context->window != window) {
        return false;
    }
    if (SDL_GL_MakeCurrent(window->sdlWindow, context->context) != 0) {
        return false;
    }
    if (!context->swapIntervalTried) {
        // Swaps wait for the retrace where the driver lets them, against tearing.
        context->swapIntervalTried = true;
        SDL_GL_SetSwapInterval(1);
    }
    return true;
}

bool DeleteRenderContext(RenderContext context) {
    if (!IsLiveContext(context)) {
        return false;  // never made, or deleted before
    }
    SDL_GL_DeleteContext(context->context);  // unbinds it first when it is current
    g_contexts.erase(std::find(g_contexts.begin(), g_contexts.end(), context));
    delete context;
    return true;
}

bool SwapFrontAndBack(DeviceContext dc) {
    WindowTag* window = WindowOf(dc);
    bool swapped = false;
    if (window != nullptr && window->sdlWindow != nullptr && window->hasGlFormat &&
        SDL_GL_GetCurrentWindow() == window->sdlWindow && SDL_GL_GetCurrentContext() != nullptr) {
        SDL_GL_SwapWindow(window->sdlWindow);
        swapped = true;
    }
    // Every step of movement and of the sunrise is counted in frames. So every swap is paced,
    // also one that waits for the retrace: a display refreshing at 144 Hz must not run them
    // twice as fast, nor a driver that swaps at once, or a hidden window, as fast as it can.
    FramePacer& pacer = window != nullptr ? window->deviceContext.pacer : g_pacerWithoutWindow;
    pacer.WaitAfterSwap();
    return swapped;
}

}  // namespace platform
