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

constexpr int kExitDone = 0;
constexpr int kExitNoWindow = 1;

constexpr int kExitModelUnreadable = 1;

// The run's options; models dropped on the window open as they say.
RunOptions g_options;

// The walk-through's own scene: the walk goes on without a model, as designed, but says once why
// the scene is empty. The reader still walks whatever the file holds.
void ReportModelFileProblem(const std::string& path) {
    if (const auto problem = CheckModelFile(path)) {
        std::fprintf(stderr, "walkthrough: %s\n", DescribeModelFileProblem(path, *problem).c_str());
    }
}

// A model the user named: whether it can be read, after saying why not on standard error and in
// a message box.
bool CanOpenNamedModel(const std::string& path) {
    const auto problem = CheckModelFile(path);
    if (!problem) {
        return true;
    }
    const std::string text = DescribeModelFileProblem(path, *problem);
    std::fprintf(stderr, "walkthrough: %s\n", text.c_str());
    platform::ShowWarning(text.c_str(), "walkthrough");
    return false;
}

// A damaged model is shown as far as it could be read, with one line about what was passed over.
void ReportDamage(const std::string& path, const Scene& scene) {
    if (scene.problems.empty()) {
        return;
    }
    const bool listFull = scene.problems.back().kind == ProblemKind::kTooManyProblems;
    std::fprintf(stderr,
                 "walkthrough: %s: damaged; the reader passed over %s%zu problems "
                 "(model-info \"%s\" lists them)\n",
                 path.c_str(), listFull ? "more than " : "", scene.problems.size() - listFull,
                 path.c_str());
}

// Places a model the user named as the options say and reports what needs saying.
void PlaceNamedModel(const std::string& path, bool openedAgain) {
    ViewFitOptions fit;
    fit.userScale = g_options.scale;
    fit.viewportWidth = g_windowWidth;
    fit.viewportHeight = g_windowHeight;
    const StartView view = openedAgain ? g_options.droppedView : g_options.view;
    const bool fromCamera = openedAgain ? g_renderer->OpenModel(path.c_str(), view, fit)
                                        : g_renderer->scene.PlaceModel(view, fit);
    if (view == StartView::kCamera && !fromCamera) {
        std::fprintf(stderr, "walkthrough: %s has no usable camera; the view is fitted\n",
                     path.c_str());
    }
    ReportDamage(path, g_renderer->scene);
}

void OpenDroppedModel(std::uintptr_t drop) {
    const std::string path = platform::TakeDroppedFile(drop);
    if (!path.empty() && CanOpenNamedModel(path)) {
        // A dropped model is one the user named, also in the walk-through's own run.
        g_renderer->scene.drawingStyle = Scene::DrawingStyle::kMaterials;
        PlaceNamedModel(path, true);
    }
}

}  // namespace

int RunFromCommandLine(int argc, const char* const* argv) {
    const ParsedCommandLine<RunOptions> parsed = ParseRunCommandLine(argc, argv);
    return parsed.stop ? PrintStop(*parsed.stop) : RunWalkthrough(parsed.options);
}

int RunWalkthrough(const RunOptions& options) {
    g_options = options;
    if (options.modelNamed && !CanOpenNamedModel(options.modelPath)) {
        return kExitModelUnreadable;
    }
    bool fullScreen = options.display == DisplayChoice::kFullScreen;
    int x = 0;
    int y = 0;
    std::uint32_t style = 0;

    if (options.display == DisplayChoice::kAsk) {
        fullScreen = platform::AskYesNo(kPromptText, kPromptCaption) != platform::kAnswerNo;
    }

    if (fullScreen && !options.switchDisplayMode) {
        // A borderless window over the whole desktop, which keeps its own mode.
        g_windowWidth = platform::ScreenWidth();
        g_windowHeight = platform::ScreenHeight();
        style = platform::kStylePopup;
        platform::SetCursorVisible(false);
    } else if (fullScreen) {
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
    if (!options.modelNamed) {
        ReportModelFileProblem(options.modelPath);
    }
    g_renderer = new SceneRenderer(options.modelPath.c_str());
    g_renderer->scene.drawingStyle =
        options.drawMaterials ? Scene::DrawingStyle::kMaterials : Scene::DrawingStyle::kMeshColours;
    if (options.modelNamed) {
        PlaceNamedModel(options.modelPath, false);
    } else {
        g_renderer->scene.PlaceModel(options.view, {options.scale});
    }

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

    if (!options.soundPath.empty()) {
        platform::PlaySoundFileAsync(options.soundPath.c_str());
    }

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
        case platform::kMessageDropFiles:
            OpenDroppedModel(wParam);
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
