#include "platform/fake/FakePlatform.h"

#include <map>

#include "platform/common/DesktopPictures.h"

namespace fake {

namespace {

struct FakeObjects {
    int window = 0;
    int deviceContext = 0;
    int renderContext = 0;
};
FakeObjects g_objects;

std::map<std::string, platform::WindowProcedure>& Classes() {
    static std::map<std::string, platform::WindowProcedure> classes;
    return classes;
}

platform::WindowProcedure g_windowProcedure = nullptr;

void DeliverDueMessages() {
    State& state = Fake();
    for (auto it = state.schedule.begin(); it != state.schedule.end();) {
        if (it->afterIdleTurns <= state.idleTurns) {
            state.queue.push_back(it->message);
            it = state.schedule.erase(it);
        } else {
            ++it;
        }
    }
    if (state.idleTurns >= state.idleTurnLimit && state.queue.empty()) {
        Record("IdleTurnLimit");
        platform::Message close;
        close.window = FakeWindow();
        close.id = platform::kMessageClose;
        state.queue.push_back(close);
    }
}

}  // namespace

State& Fake() {
    static State state;
    return state;
}

void Reset() {
    Fake() = State();
    CallLog().clear();
    Classes().clear();
    g_windowProcedure = nullptr;
}

platform::WindowHandle FakeWindow() {
    return reinterpret_cast<platform::WindowHandle>(&g_objects.window);
}
platform::DeviceContext FakeDeviceContext() {
    return reinterpret_cast<platform::DeviceContext>(&g_objects.deviceContext);
}
platform::RenderContext FakeRenderContext() {
    return reinterpret_cast<platform::RenderContext>(&g_objects.renderContext);
}

}  // namespace fake

namespace platform {

using fake::Fake;
using fake::Record;

int AskYesNo(const char* text, const char* caption) {
    Record("AskYesNo", {}, text);
    Fake().promptText = text;
    Fake().promptCaption = caption;
    return Fake().promptAnswer;
}

void ShowWarning(const char* text, const char* caption) {
    Record("ShowWarning", {}, text);
    Fake().warningText = text;
    Fake().warningCaption = caption;
}

bool ChangeDisplayMode(const DisplayMode& mode) {
    Record("ChangeDisplayMode", {double(mode.width), double(mode.height), double(mode.bitsPerPixel),
                                 double(mode.frequency)});
    Fake().requestedMode = mode;
    return Fake().displayModeTakes;
}

int ScreenWidth() {
    return Fake().screenWidth;
}
int ScreenHeight() {
    return Fake().screenHeight;
}

bool RegisterWindowClass(const WindowClass& windowClass) {
    Record("RegisterWindowClass", {double(windowClass.style)}, windowClass.className);
    fake::Classes()[windowClass.className] = windowClass.procedure;
    return true;
}

WindowHandle CreateMainWindow(const WindowSpec& windowSpec) {
    Record("CreateMainWindow",
           {double(windowSpec.style), double(windowSpec.x), double(windowSpec.y),
            double(windowSpec.width), double(windowSpec.height)},
           windowSpec.title);
    Fake().windowSpec = windowSpec;
    Fake().windowTitle = windowSpec.title;
    const auto found = fake::Classes().find(windowSpec.className);
    if (found == fake::Classes().end() || !Fake().windowOpens) {
        return nullptr;
    }
    fake::g_windowProcedure = found->second;
    WindowHandle window = fake::FakeWindow();
    // As on Win32: the creation message inside the call, then the first size message.
    fake::g_windowProcedure(window, kMessageCreate, 0, 0);
    const int width = Fake().clientWidth >= 0 ? Fake().clientWidth : windowSpec.width;
    const int height = Fake().clientHeight >= 0 ? Fake().clientHeight : windowSpec.height;
    fake::g_windowProcedure(window, kMessageSize, 0, PackSize(width, height));
    return window;
}

void SetWindowTitle(WindowHandle, const char* title) {
    Record("SetWindowTitle", {}, title != nullptr ? title : "");
}

void ShowMainWindow(WindowHandle) {
    Record("ShowMainWindow");
}
void UpdateMainWindow(WindowHandle) {
    Record("UpdateMainWindow");
}

bool PeekWaitingMessage(Message& message) {
    fake::DeliverDueMessages();
    if (Fake().queue.empty()) {
        return false;
    }
    message = Fake().queue.front();
    return true;
}

bool RemoveWaitingMessage(Message& message) {
    fake::DeliverDueMessages();
    if (Fake().queue.empty()) {
        ++Fake().idleTurns;
        return false;
    }
    message = Fake().queue.front();
    Fake().queue.pop_front();
    return true;
}

void TranslateKeyMessage(const Message&) {}

std::intptr_t DispatchToWindow(const Message& message) {
    Record("DispatchToWindow", {double(message.id), double(message.wParam)});
    if (fake::g_windowProcedure == nullptr || message.id == kMessageQuit) {
        return 0;
    }
    return fake::g_windowProcedure(message.window, message.id, message.wParam, message.lParam);
}

std::intptr_t DefaultWindowProcedure(WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t) {
    Record("DefaultWindowProcedure", {double(message), double(wParam)});
    return 0;
}

void PostQuit(int exitCode) {
    Record("PostQuit", {double(exitCode)});
    Message quit;
    quit.id = kMessageQuit;
    quit.wParam = static_cast<std::uintptr_t>(exitCode);
    Fake().queue.push_back(quit);
}

bool GetCursorScreenPosition(CursorPoint& point) {
    Record("GetCursorScreenPosition");
    if (!Fake().cursorReadable) {
        return false;
    }
    point = Fake().cursor;
    return true;
}

// Queries, like the key state: not recorded.
bool WindowHasInputFocus() {
    return Fake().inputFocus;
}

bool GetPointerHome(CursorPoint& home) {
    home = Fake().pointerHome;
    return true;
}

bool SetCursorScreenPosition(int x, int y) {
    Record("SetCursorScreenPosition", {double(x), double(y)});
    Fake().cursor = CursorPoint{x, y};
    return true;
}

void SetCursorVisible(bool visible) {
    Record("SetCursorVisible", {visible ? 1.0 : 0.0});
    Fake().cursorVisible = visible;
}

bool IsKeyHeld(int virtualKey) {
    return Fake().heldKeys.count(virtualKey) != 0;
}

std::uint64_t SteadyMilliseconds() {
    const std::uint64_t now = Fake().milliseconds;
    Fake().milliseconds += Fake().millisecondsPerRead;
    return now;
}

DeviceContext GetWindowDeviceContext(WindowHandle) {
    Record("GetWindowDeviceContext");
    return fake::FakeDeviceContext();
}

int ChoosePixelFormat(DeviceContext, const PixelFormatRequest& request) {
    Record("ChoosePixelFormat");
    Fake().pixelRequest = request;
    return Fake().pixelFormat;
}

bool SetPixelFormat(DeviceContext, int format, const PixelFormatRequest&) {
    Record("SetPixelFormat", {double(format)});
    return true;
}

RenderContext CreateRenderContext(DeviceContext) {
    Record("CreateRenderContext");
    return fake::FakeRenderContext();
}

bool MakeContextCurrent(DeviceContext, RenderContext context) {
    Record("MakeContextCurrent", {context != nullptr ? 1.0 : 0.0});
    Fake().currentContext = context;
    return true;
}

bool DeleteRenderContext(RenderContext context) {
    Record("DeleteRenderContext", {context != nullptr ? 1.0 : 0.0});
    return true;
}

bool SwapFrontAndBack(DeviceContext) {
    Record("SwapFrontAndBack");
    ++Fake().swaps;
    return true;
}

std::string TakeDroppedFile(std::uintptr_t drop) {
    const std::vector<std::string>& files = Fake().droppedFiles;
    const std::string path = drop < files.size() ? files[drop] : std::string();
    Record("TakeDroppedFile", {static_cast<double>(drop)}, path);
    return path;
}

void KeepArraysFixed(const void* data, std::size_t bytes) {
    Record("KeepArraysFixed", {static_cast<double>(bytes)});
    Fake().fixedArrays[data] = bytes;
}

void ReleaseArrays(const void* data) {
    // Arrays kept before the last reset belong to an earlier test: not this one's business.
    const auto kept = Fake().fixedArrays.find(data);
    if (kept != Fake().fixedArrays.end()) {
        Record("ReleaseArrays", {static_cast<double>(kept->second)});
        Fake().fixedArrays.erase(kept);
    }
}

std::string PicturesFolder(std::string& why) {
    Record("PicturesFolder");
    std::string folder = Fake().picturesFolder;
    if (folder.empty()) {
        folder = pictures::EnvironmentValue(pictures::kPicturesFolderVariable);
    }
    if (folder.empty()) {
        why = "the test named no folder for pictures";
        return {};
    }
    return pictures::MakeFolders(folder, why) ? folder : std::string();
}

std::string SavePicture(const std::string& baseName, const unsigned char* rgbRowsTopFirst,
                        int width, int height, std::string& why) {
    Record("SavePicture", {double(width), double(height)}, baseName);
    const std::string folder = PicturesFolder(why);
    if (folder.empty()) {
        return {};
    }
    return pictures::SavePictureIn(folder, baseName, pictures::LocalTimeNow(), rgbRowsTopFirst,
                                   width, height, why);
}

void PlaySoundFileAsync(const char* fileName) {
    Record("PlaySoundFileAsync", {}, fileName);
}

}  // namespace platform
