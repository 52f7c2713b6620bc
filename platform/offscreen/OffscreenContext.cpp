// EGL on Mesa's surfaceless platform: the context has no surface of its own, so each context
// draws into a framebuffer object (8-bit RGBA colour, 24-bit depth) made when it is first bound.
// There is one pixel format, numbered 1; a window system would give those sizes for the
// program's request of at least 16 colour and 16 depth bits.
#include "platform/offscreen/OffscreenContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <sstream>

#include "platform/common/ExtensionList.h"

namespace platform {

struct DeviceContextTag {
    int width = 800;
    int height = 600;
    int pixelFormat = 0;  // 0 until SetPixelFormat
};

struct RenderContextTag {
    EGLContext context = EGL_NO_CONTEXT;
    GLuint framebuffer = 0;  // made on first binding
    int width = 0;
    int height = 0;
};

namespace {

constexpr int kOnlyFormat = 1;
constexpr int kColorBitsPerChannel = 8;
constexpr int kDepthBits = 24;

struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
};

struct OffscreenState {
    DeviceContextTag device;
    EGLDisplay display = EGL_NO_DISPLAY;
    bool displayReady = false;
    std::vector<RenderContextTag*> contexts;
    RenderContextTag* current = nullptr;
    FramebufferCalls calls;
    std::string lastError;
};

OffscreenState& State() {
    static OffscreenState state;
    return state;
}

bool Fail(const std::string& why) {
    State().lastError = why;
    return false;
}

std::string EglErrorText(const char* step) {
    std::ostringstream text;
    text << step << " failed (EGL error 0x" << std::hex << eglGetError() << ")";
    return text.str();
}

bool EnsureDisplay() {
    OffscreenState& state = State();
    if (state.displayReady) {
        return true;
    }
    if (!ExtensionListHas(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS),
                          "EGL_MESA_platform_surfaceless")) {
        return Fail("EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)");
    }
    state.display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA,
                                          reinterpret_cast<void*>(EGL_DEFAULT_DISPLAY), nullptr);
    if (state.display == EGL_NO_DISPLAY) {
        return Fail(EglErrorText("eglGetPlatformDisplay"));
    }
    EGLint major = 0;
    EGLint minor = 0;
    if (eglInitialize(state.display, &major, &minor) != EGL_TRUE) {
        return Fail(EglErrorText("eglInitialize"));
    }
    const char* extensions = eglQueryString(state.display, EGL_EXTENSIONS);
    if (!ExtensionListHas(extensions, "EGL_KHR_surfaceless_context") ||
        !ExtensionListHas(extensions, "EGL_KHR_no_config_context")) {
        eglTerminate(state.display);
        return Fail("the EGL display cannot make a context without a surface");
    }
    state.displayReady = true;
    return true;
}

bool IsLiveContext(RenderContext context) {
    const auto& contexts = State().contexts;
    return context != nullptr &&
           std::find(contexts.begin(), contexts.end(), context) != contexts.end();
}

template <typename Function>
bool Load(Function& function, const char* name) {
    function = reinterpret_cast<Function>(eglGetProcAddress(name));
    return function != nullptr;
}

bool LoadFramebufferCalls(FramebufferCalls& calls) {
    return Load(calls.genFramebuffers, "glGenFramebuffers") &&
           Load(calls.bindFramebuffer, "glBindFramebuffer") &&
           Load(calls.genRenderbuffers, "glGenRenderbuffers") &&
           Load(calls.bindRenderbuffer, "glBindRenderbuffer") &&
           Load(calls.renderbufferStorage, "glRenderbufferStorage") &&
           Load(calls.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           Load(calls.checkFramebufferStatus, "glCheckFramebufferStatus");
}

// Makes the colour and depth target of `context`, which is current, at the device's size and
// binds it. The renderbuffers live as long as the context.
bool MakeFramebuffer(RenderContextTag& context) {
    OffscreenState& state = State();
    if (state.calls.genFramebuffers == nullptr && !LoadFramebufferCalls(state.calls)) {
        return Fail("the OpenGL driver has no framebuffer objects");
    }
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (state.device.width > largest || state.device.height > largest) {
        return Fail("the framebuffer size exceeds the driver's limit of " +
                    std::to_string(largest));
    }
    const FramebufferCalls& gl = state.calls;
    GLuint renderbuffers[2] = {0, 0};
    gl.genRenderbuffers(2, renderbuffers);
    gl.bindRenderbuffer(GL_RENDERBUFFER, renderbuffers[0]);
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, state.device.width, state.device.height);
    gl.bindRenderbuffer(GL_RENDERBUFFER, renderbuffers[1]);
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, state.device.width,
                           state.device.height);
    gl.bindRenderbuffer(GL_RENDERBUFFER, 0);

    GLuint framebuffer = 0;
    gl.genFramebuffers(1, &framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                               renderbuffers[0]);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                               renderbuffers[1]);
    if (gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        return Fail("the driver cannot draw into an RGBA8 and DEPTH24 framebuffer");
    }
    context.framebuffer = framebuffer;
    context.width = state.device.width;
    context.height = state.device.height;
    // A window's context starts with a viewport covering the window.
    glViewport(0, 0, context.width, context.height);
    return true;
}

}  // namespace

namespace offscreen {

DeviceContext Device() {
    return &State().device;
}

bool SetFramebufferSize(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxFramebufferSide || height > kMaxFramebufferSide) {
        return Fail("a framebuffer side must be 1 to " + std::to_string(kMaxFramebufferSide));
    }
    State().device.width = width;
    State().device.height = height;
    return true;
}

bool ReadyToDraw() {
    const RenderContextTag* current = State().current;
    return current != nullptr && current->framebuffer != 0 &&
           eglGetCurrentContext() == current->context;
}

bool ReadFrame(std::vector<std::uint8_t>& rgb, int& width, int& height) {
    if (!ReadyToDraw()) {
        return false;
    }
    const RenderContextTag& context = *State().current;
    const std::size_t rowBytes = static_cast<std::size_t>(context.width) * 3;
    const std::size_t rows = static_cast<std::size_t>(context.height);
    std::vector<std::uint8_t> bottomUp(rowBytes * rows);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, context.width, context.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    // GL counts rows from the bottom; a picture file starts with the top row.
    rgb.resize(bottomUp.size());
    for (std::size_t row = 0; row < rows; ++row) {
        std::memcpy(rgb.data() + row * rowBytes, bottomUp.data() + (rows - 1 - row) * rowBytes,
                    rowBytes);
    }
    width = context.width;
    height = context.height;
    return true;
}

const std::string& LastError() {
    return State().lastError;
}

void Shutdown() {
    OffscreenState& state = State();
    if (!state.displayReady) {
        return;
    }
    eglMakeCurrent(state.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    state.current = nullptr;
    for (RenderContextTag* context : state.contexts) {
        eglDestroyContext(state.display, context->context);
        delete context;
    }
    state.contexts.clear();
    // The display stays initialised: terminating it unloads Mesa's driver, and leak checkers
    // could then no longer tell the driver's own allocations from the program's.
    eglReleaseThread();
}

}  // namespace offscreen

DeviceContext GetWindowDeviceContext(WindowHandle) {
    return nullptr;
}

int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    const bool fits =
        request.pixelType != kPixelTypeColorIndex && request.layerType == kPixelMainPlane &&
        request.colorBits - request.alphaBits <= 3 * kColorBitsPerChannel &&
        request.alphaBits <= kColorBitsPerChannel && request.depthBits <= kDepthBits &&
        request.stencilBits == 0 && request.accumBits == 0 && request.auxBuffers == 0;
    if (dc != offscreen::Device()) {
        Fail("not the offscreen device context");
        return 0;
    }
    if (!fits) {
        Fail("the offscreen framebuffer has only 8-bit RGBA colour and 24-bit depth");
        return 0;
    }
    return EnsureDisplay() ? kOnlyFormat : 0;
}

bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest&) {
    if (dc != offscreen::Device() || format != kOnlyFormat) {
        return Fail("no such pixel format");
    }
    dc->pixelFormat = format;
    return true;
}

RenderContext CreateRenderContext(DeviceContext dc) {
    if (dc != offscreen::Device() || dc->pixelFormat != kOnlyFormat || !EnsureDisplay()) {
        Fail("the pixel format is not set");
        return nullptr;
    }
    OffscreenState& state = State();
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        Fail(EglErrorText("eglBindAPI(OpenGL)"));
        return nullptr;
    }
    // No attributes: a compatibility context of whatever version the driver has, in which the
    // program's OpenGL 1.1 calls are all there.
    const EGLint attributes[] = {EGL_NONE};
    EGLContext created =
        eglCreateContext(state.display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (created == EGL_NO_CONTEXT) {
        Fail(EglErrorText("eglCreateContext"));
        return nullptr;
    }
    auto* context = new RenderContextTag;
    context->context = created;
    state.contexts.push_back(context);
    return context;
}

bool MakeContextCurrent(DeviceContext dc, RenderContext context) {
    OffscreenState& state = State();
    if (context == nullptr) {
        state.current = nullptr;
        return !state.displayReady || eglMakeCurrent(state.display, EGL_NO_SURFACE, EGL_NO_SURFACE,
                                                     EGL_NO_CONTEXT) == EGL_TRUE;
    }
    if (dc != offscreen::Device() || !IsLiveContext(context)) {
        return Fail("not a live offscreen context");
    }
    if (eglMakeCurrent(state.display, EGL_NO_SURFACE, EGL_NO_SURFACE, context->context) !=
        EGL_TRUE) {
        return Fail(EglErrorText("eglMakeCurrent"));
    }
    state.current = context;
    if (context->framebuffer == 0) {
        return MakeFramebuffer(*context);
    }
    state.calls.bindFramebuffer(GL_FRAMEBUFFER, context->framebuffer);
    return true;
}

bool DeleteRenderContext(RenderContext context) {
    OffscreenState& state = State();
    if (!IsLiveContext(context)) {
        return false;
    }
    if (state.current == context) {
        MakeContextCurrent(offscreen::Device(), nullptr);
    }
    eglDestroyContext(state.display, context->context);  // its framebuffer goes with it
    state.contexts.erase(std::find(state.contexts.begin(), state.contexts.end(), context));
    delete context;
    return true;
}

// The finished picture stays in the framebuffer for ReadFrame; there is nothing to show.
bool SwapFrontAndBack(DeviceContext dc) {
    return dc == offscreen::Device() && offscreen::ReadyToDraw();
}

}  // namespace platform
