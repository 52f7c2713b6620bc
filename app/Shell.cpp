#include "app/Shell.h"

#include <cstdio>
#include <memory>

#include "app/OpeningScreen.h"
#include "overlay/FrameOverlay.h"
#include "render/FixedState.h"
#include "render/SceneRenderer.h"
#include "scene/FileOpen.h"
#include "scene/ModelFileCheck.h"
#include "viewer/ModelOpening.h"

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
// What frames show a model the user named or dropped through; null while the walk-through's own
// scene is shown as made.
std::unique_ptr<NamedModelView> g_namedView;
// What is drawn on top of a named model's frames, and over the sky while one opens.
FrameOverlay g_overlay;
// How long the card of keys shows by itself when a model opens.
constexpr int kCardFramesOnOpening = 5 * 75;

// The walk-through's own scene: the walk goes on without a model, as designed, but says once why
// the scene is empty. The reader still walks whatever the file holds.
void ReportModelFileProblem(const std::string& path) {
    if (const auto problem = CheckModelFile(path)) {
        std::fprintf(stderr, "walkthrough: %s\n", DescribeModelFileProblem(path, *problem).c_str());
    }
}

// Says why a model the user named cannot be opened, on standard error and in a message box.
void ReportUnopenedModel(const std::string& problem) {
    std::fprintf(stderr, "walkthrough: %s\n", problem.c_str());
    platform::ShowWarning(problem.c_str(), "walkthrough");
}

// A model the user named: whether it can be read, after saying why not.
bool CanOpenNamedModel(const std::string& path) {
    const auto problem = CheckModelFile(path);
    if (problem) {
        ReportUnopenedModel(DescribeModelFileProblem(path, *problem));
    }
    return !problem;
}

// Opens a model in the renderer's scene and shows it from the next frame on. A model that
// cannot be opened changes nothing; whether that is said is the caller's choice.
// How an opening ended: the model shown, given up, or not to be opened for `problem`.
struct Showing {
    bool shown = false;
    std::string problem;
};

Showing ShowModel(const std::string& path, StartView view, UpAxis up, ModelDrawingStyle drawing) {
    OpenOptions open;
    open.view = view;
    open.up = up;
    open.fit.userScale = g_options.scale;
    open.fit.viewportWidth = g_windowWidth;
    open.fit.viewportHeight = g_windowHeight;
    open.drawing = drawing;
    open.walk = g_options.walk;
    open.units = g_options.units;
    const std::string name = PathFromUtf8(path.c_str()).filename().u8string();
    OpeningScreen screen(g_overlay, g_hdc, name);
    OpenedModel opened = OpenModel(g_renderer->scene, path, open, &screen);
    const bool shown = opened.view != nullptr;
    if (!opened.view && opened.problem.empty()) {
        std::fprintf(stderr, "walkthrough: the opening of %s was given up\n", path.c_str());
    }
    if (opened.view) {
        opened.view->DrawOver(&g_overlay);
        g_overlay.card.SetWalking(true);
        g_overlay.card.ShowFor(kCardFramesOnOpening);
        opened.view->OnModeChange([name](bool walking) {
            const std::string title =
                name + (walking ? " - walking (G: fly)" : " - flying (G: walk)");
            platform::SetWindowTitle(g_hwnd, title.c_str());
        });
        g_renderer->ShowThrough(opened.view.get());
        g_namedView = std::move(opened.view);
        for (const std::string& note : opened.notes) {
            std::fprintf(stderr, "walkthrough: %s\n", note.c_str());
        }
    }
    // What came while opening goes to the model shown now.
    screen.DispatchWaiting();
    return {shown, opened.problem};
}

// The model of a run not as made, once the window exists: a named one was checked before the
// window; the walk-through's own scene placed otherwise has said its problem already.
void OpenStartingModel() {
    const Showing opened = ShowModel(
        g_options.modelPath, g_options.view, g_options.up,
        g_options.drawMaterials ? ModelDrawingStyle::kMaterials : ModelDrawingStyle::kMeshColours);
    if (!opened.problem.empty() && g_options.modelNamed) {
        ReportUnopenedModel(opened.problem);  // it went between the check and the opening
    }
}

// A dropped model is one the user named, also in the walk-through's own run: it replaces the
// model shown and the sunrise starts again, or is said not to open and changes nothing.
void OpenDroppedModel(std::uintptr_t drop) {
    const std::string path = platform::TakeDroppedFile(drop);
    if (path.empty()) {
        return;
    }
    const Showing opened =
        ShowModel(path, g_options.droppedView, g_options.droppedUp, ModelDrawingStyle::kMaterials);
    if (!opened.problem.empty()) {
        ReportUnopenedModel(opened.problem);
    } else if (opened.shown) {
        g_renderer->StartSunrise();
    }
}

}  // namespace

int RunFromCommandLine(int argc, const char* const* argv) {
    const ParsedCommandLine<RunOptions> parsed = ParseRunCommandLine(argc, argv);
    return parsed.stop ? PrintStop(*parsed.stop) : RunWalkthrough(parsed.options);
}

int RunWalkthrough(const RunOptions& options) {
    g_options = options;
    g_namedView.reset();
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

    // The renderer exists before the window: the creation message needs it. As made, it reads
    // the model as it is built; otherwise the model opens once the window is there.
    if (!options.modelNamed) {
        ReportModelFileProblem(options.modelPath);
    }
    g_renderer = new SceneRenderer(options.AsMade() ? options.modelPath.c_str() : nullptr);

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
    if (!options.AsMade()) {
        OpenStartingModel();
    }

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
                if (g_namedView) {
                    g_namedView->KeyReleased(static_cast<int>(wParam));
                }
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
