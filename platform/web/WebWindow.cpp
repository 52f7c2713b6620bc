// The window, its messages and the WebGL context of the web backend. The page has one canvas:
// the window is that canvas, at the size the program asks for, and never leaves full screen
// or asks a question (a page answers "windowed").
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <emscripten/html5_webgl.h>

#include <deque>

#include "platform/web/WebInternal.h"
#include "webgl11/WebGlDevice.h"

namespace platform {
namespace {

struct WindowState {
    WindowProcedure procedure = nullptr;
    WindowHandle handle = nullptr;
    std::deque<Message> queue;
    bool deviceStarted = false;
};

WindowState& Window() {
    static WindowState state;
    return state;
}

// The page's one window and device context; neither is ever dereferenced.
WindowHandle TheWindow() {
    static char window;
    return reinterpret_cast<WindowHandle>(&window);
}
DeviceContext TheDeviceContext() {
    static char device;
    return reinterpret_cast<DeviceContext>(&device);
}

// Shows a text in the page's problem area.
EM_JS(void, ShowInPage, (const char* text), {
    if (Module.showProblem) {
        Module.showProblem(UTF8ToString(text));
    }
});

}  // namespace

namespace web {

void PostToWindow(std::uint32_t id, std::uintptr_t wParam, std::intptr_t lParam) {
    Window().queue.push_back(Message{Window().handle, id, wParam, lParam});
}

}  // namespace web

int AskYesNo(const char*, const char*) {
    return kAnswerNo;
}

void ShowWarning(const char* text, const char*) {
    ShowInPage(text != nullptr ? text : "");
}

bool ChangeDisplayMode(const DisplayMode&) {
    return false;
}

int ScreenWidth() {
    return 2 * web::kPointerHome.x;
}

int ScreenHeight() {
    return 2 * web::kPointerHome.y;
}

bool RegisterWindowClass(const WindowClass& windowClass) {
    Window().procedure = windowClass.procedure;
    return windowClass.procedure != nullptr;
}

WindowHandle CreateMainWindow(const WindowSpec& windowSpec) {
    WindowState& state = Window();
    if (state.procedure == nullptr || state.handle != nullptr) {
        return nullptr;
    }
    state.handle = TheWindow();
    emscripten_set_canvas_element_size(web::kCanvas, windowSpec.width, windowSpec.height);
    web::ListenToInput();
    state.procedure(state.handle, kMessageCreate, 0, 0);
    state.procedure(state.handle, kMessageSize, 0, PackSize(windowSpec.width, windowSpec.height));
    return state.handle;
}

void ShowMainWindow(WindowHandle) {}
void UpdateMainWindow(WindowHandle) {}

bool PeekWaitingMessage(Message& message) {
    if (Window().queue.empty()) {
        return false;
    }
    message = Window().queue.front();
    return true;
}

bool RemoveWaitingMessage(Message& message) {
    if (!PeekWaitingMessage(message)) {
        return false;
    }
    Window().queue.pop_front();
    return true;
}

void TranslateKeyMessage(const Message&) {}

std::intptr_t DispatchToWindow(const Message& message) {
    WindowState& state = Window();
    if (state.procedure == nullptr || message.window == nullptr) {
        return 0;
    }
    return state.procedure(message.window, message.id, message.wParam, message.lParam);
}

std::intptr_t DefaultWindowProcedure(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
    return 0;
}

void PostQuit(int exitCode) {
    Window().queue.push_back(
        Message{nullptr, kMessageQuit, static_cast<std::uintptr_t>(exitCode), 0});
}

DeviceContext GetWindowDeviceContext(WindowHandle window) {
    return window != nullptr ? TheDeviceContext() : nullptr;
}

int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest&) {
    return dc != nullptr ? 1 : 0;
}

bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest&) {
    return dc != nullptr && format == 1;
}

RenderContext CreateRenderContext(DeviceContext dc) {
    if (dc == nullptr) {
        return nullptr;
    }
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_FALSE;
    // Edges as the desktop draws them, and a picture that can be read back after it is shown.
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_TRUE;
    attributes.majorVersion = 1;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(web::kCanvas, &attributes);
    if (context <= 0) {
        ShowInPage("This browser offers no WebGL: the walk-through cannot be drawn.");
        return nullptr;
    }
    return reinterpret_cast<RenderContext>(static_cast<std::intptr_t>(context));
}

bool MakeContextCurrent(DeviceContext, RenderContext context) {
    const auto handle =
        static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(reinterpret_cast<std::intptr_t>(context));
    if (emscripten_webgl_make_context_current(handle) != EMSCRIPTEN_RESULT_SUCCESS) {
        return false;
    }
    WindowState& state = Window();
    if (context != nullptr && !state.deviceStarted) {
        state.deviceStarted = webgl11::device::Start();
    }
    return true;
}

bool DeleteRenderContext(RenderContext context) {
    return context != nullptr &&
           emscripten_webgl_destroy_context(static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(
               reinterpret_cast<std::intptr_t>(context))) == EMSCRIPTEN_RESULT_SUCCESS;
}

}  // namespace platform
