#include "app/Shell.h"

#include <cstdio>

#include "render/FixedState.h"
#include "render/SceneRenderer.h"
#include "scene/ModelFileCheck.h"

std::int32_t g_windowWidth = 800;
std::int32_t g_windowHeight = 600;
SceneRenderer* g_renderer = nullptr;
platform::WindowHandle g_hwnd = nullptr;
platform::DeviceContext g_hdc = nullptr;

namespace {

// "Overall design: Quellmark, student of grade 04: Tervani. Instructions: W, S, A, D move
// forward, back, left and right, the mouse controls the eyes. Use full-screen mode?"
constexpr const char* kPromptText =
    "总设计:\n     Quellmark04级学生:Tervani\n\n说明:\n     'W','S','A','D'控制前后左右,"
    "鼠标控制眼睛\n\n          使用全屏模式吗?";
constexpr const char* kPromptCaption = "说明";  // "Instructions"
constexpr const char* kClassName = "tml";
constexpr const char* kWindowTitle = "Quellmark";
constexpr const char* kSoundFile = "groud.wav";
constexpr const char* kModelFile = "kelm.3ds";

constexpr int kExitDone = 0;
constexpr int kExitNoWindow = 1;

// The walk goes on without a model, as designed, but says once why the scene is empty. The
// reader still walks whatever the file holds.
void ReportModelFileProblem() {
    if (const auto problem = CheckModelFile(kModelFile)) {
        std::fprintf(stderr, "walkthrough: %s\n",
                     DescribeModelFileProblem(kModelFile, *problem).c_str());
    }
}

}  // namespace

int RunWalkthrough() {
    bool fullScreen = true;
    int x = 0;
    int y = 0;
    std::uint32_t style = 0;

    if (platform::AskYesNo(kPromptText, kPromptCaption) == platform::kAnswerNo) {
        fullScreen = false;
    }

    if (fullScreen) {
        platform::DisplayMode mode;
        mode.width = g_windowWidth;
        mode.height = g_windowHeight;
        mode.bitsPerPixel = 16;
        mode.frequency = 75;
        // A refused mode leaves the desktop as it is; the popup window covers its corner.
        platform::ChangeDisplayMode(mode);
        style = platform::kStylePopup;
        platform::SetCursorVisible(false);
    } else {
        style = platform::kStyleOverlappedWindow;
        x = (platform::ScreenWidth() - g_windowWidth) / 2;
        y = (platform::ScreenHeight() - g_windowHeight) / 2;
    }

    platform::WindowClass windowClass;
    windowClass.style = platform::kClassStyleClassDC;
    windowClass.procedure = MainWindowProc;
    windowClass.className = kClassName;
    platform::RegisterWindowClass(windowClass);

    // The renderer, and with it the model, exists before the window: the creation message
    // needs it.
    ReportModelFileProblem();
    g_renderer = new SceneRenderer(kModelFile);

    platform::WindowSpec windowSpec;
    windowSpec.className = kClassName;
    windowSpec.title = kWindowTitle;
    windowSpec.style = style | platform::kStyleClipSiblings | platform::kStyleClipChildren;
    windowSpec.x = x;
    windowSpec.y = y;
    windowSpec.width = g_windowWidth;
    windowSpec.height = g_windowHeight;
    g_hwnd = platform::CreateMainWindow(windowSpec);
    if (g_hwnd == nullptr) {
        // Nothing could be shown and nothing could end the loop; the backend has said why.
        return kExitNoWindow;
    }

    platform::ShowMainWindow(g_hwnd);
    platform::UpdateMainWindow(g_hwnd);

    SetFixedGlState();

    platform::PlaySoundFileAsync(kSoundFile);

    RunMessageLoop();
    return kExitDone;
}

std::intptr_t MainWindowProc(platform::WindowHandle hwnd, std::uint32_t message,
                             std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case platform::kMessageCreate:
            g_hdc = platform::GetWindowDeviceContext(hwnd);
            g_renderer->CreateContext(g_hdc);
            return 0;
        case platform::kMessageSize:
            g_windowHeight = platform::SizeHeight(lParam);
            g_windowWidth = platform::SizeWidth(lParam);
            if (g_windowHeight == 0) {
                g_windowHeight = 1;
            }
            g_renderer->Resize(g_windowWidth, g_windowHeight);
            return 0;
        case platform::kMessageKeyUp:
            if (wParam != static_cast<std::uintptr_t>(platform::kKeyEscape)) {
                break;
            }
            g_renderer->ReleaseContext();
            platform::PostQuit(0);
            return 0;
        case platform::kMessageClose:
            // The window stays; the quit message ends the loop and with it the program.
            g_renderer->ReleaseContext();
            platform::PostQuit(0);
            return 0;
        case platform::kMessageDestroy:
            platform::PostQuit(0);
            return 0;
        default:
            break;
    }
    return platform::DefaultWindowProcedure(hwnd, message, wParam, lParam);
}

void RunMessageLoop() {
    // Until a message arrives the record must not read as the quit message.
    platform::Message message;
    platform::PeekWaitingMessage(message);
    while (message.id != platform::kMessageQuit) {
        if (platform::RemoveWaitingMessage(message)) {
            platform::TranslateKeyMessage(message);
            platform::DispatchToWindow(message);
        } else {
            g_renderer->RenderFrame();
        }
    }
}
