// Whole runs of the program from the prompt to the quit, read as the transcript of the calls it
// made through the fake platform and the GL recorder.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Shell.h"
#include "platform/fake/FakePlatform.h"
#include "render/SceneRenderer.h"
#include "tests/support/CallChecks.h"
#include "tests/support/ModelFile.h"
#include "tools/chunkwriter/ChunkWriter.h"

namespace {

using namespace platform;

const std::string kPrompt =
    "总设计:\n     Quellmark04级学生:Tervani\n\n说明:\n     "
    "'W','S','A','D'控制前后左右,鼠标控制眼睛\n\n          使用全屏模式吗?";

// What comes before the window: the mode asked for unless the answer is No (or the model is
// named), the class, and the pointer the scene places while the renderer is built.
Lines UpToTheWindow(bool fullScreen, int x = 0, int y = 0, int width = 800, int height = 600,
                    bool modeChange = true) {
    const std::uint32_t style = fullScreen ? kStylePopup : kStyleOverlappedWindow;
    Lines lines = {"RegisterWindowClass 64 tml", "SetCursorScreenPosition 400 300",
                   CallLine("CreateMainWindow",
                            {double(style | kStyleClipSiblings | kStyleClipChildren), double(x),
                             double(y), double(width), double(height)},
                            "Quellmark")};
    if (fullScreen) {
        lines.insert(lines.begin(), "SetCursorVisible 0");
        if (modeChange) {
            lines.insert(lines.begin(), "ChangeDisplayMode 800 600 16 75");
        }
    }
    return lines;
}

// A model named on the command line, windowed, without a sound.
RunOptions Named(const std::string& path) {
    RunOptions named;
    named.modelNamed = true;
    named.display = DisplayChoice::kWindowed;
    named.switchDisplayMode = false;
    named.view = StartView::kAuto;
    named.soundPath.clear();
    named.modelPath = path;
    return named;
}

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        g_windowWidth = 800;
        g_windowHeight = 600;
    }
    void TearDown() override {
        delete g_renderer;
        g_renderer = nullptr;
    }
    static void After(int idleTurns, std::uint32_t id, std::uintptr_t wParam = 0,
                      std::intptr_t lParam = 0) {
        fake::Fake().schedule.push_back({idleTurns, {fake::FakeWindow(), id, wParam, lParam}});
    }
    // The transcript of a run; each frame after the first `shown` reads as "frame", its calls
    // being the frame tests' business.
    static Lines Run(int status = 0, int shown = 0, const RunOptions& options = {}) {
        EXPECT_EQ(RunWalkthrough(options), status);
        Lines lines;
        int frames = 0;
        bool hidden = false;
        for (const std::string& line : LoggedCalls()) {
            if (line == "glClearColor 0 0 0.3 1" && ++frames > shown) {
                lines.push_back("frame");
                hidden = true;
            } else if (!hidden) {
                lines.push_back(line);
            }
            hidden = hidden && line != "SwapFrontAndBack";
        }
        return lines;
    }
};

TEST_F(Shell, ARunGoesFromThePromptThroughFramesWhileNothingWaitsToTheQuitOnEscapesRelease) {
    fake::Fake().clientWidth = 784;  // the frame takes its share of the outer size
    fake::Fake().clientHeight = 561;
    After(1, kMessageKeyDown, kKeyEscape);  // four messages waiting together
    After(1, kMessageKeyUp, kKeyW);
    After(1, 0x0200);                           // one the window does not handle
    After(1, kMessageSize, 0, PackSize(0, 0));  // minimised: the height becomes 1
    After(2, kMessageKeyUp, kKeyEscape);
    ::testing::internal::CaptureStderr();

    Lines expected = UpToTheWindow(true);
    expected.insert(expected.begin(), "AskYesNo " + kPrompt);
    // The context comes with the creation message, the projection with each size message.
    // Messages and keys by number: key down 256, up 257, size 5, quit 18; Escape 27, W 87.
    const std::string projection = CallLine("glMatrixMode", {GL_PROJECTION});
    const std::string modelView = CallLine("glMatrixMode", {GL_MODELVIEW});
    // clang-format off
    expected.insert(expected.end(), {
        "GetWindowDeviceContext", "ChoosePixelFormat", "SetPixelFormat 1", "CreateRenderContext",
        "MakeContextCurrent 1", "glViewport 0 0 784 561", projection, "glLoadIdentity",
        "gluPerspective 54 1.3975 0.1 3000", modelView, "glLoadIdentity",
        "ShowMainWindow", "UpdateMainWindow", CallLine("glShadeModel", {GL_FLAT}),
        "glClearColor 0 0 0 0", "glClearDepth 1", CallLine("glEnable", {GL_DEPTH_TEST}),
        "PlaySoundFileAsync groud.wav",
        // The first frame: the view, then light and fog, then the model (absent here).
        "glClearColor 0 0 0.3 1", CallLine("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}),
        modelView, "glLoadIdentity", "GetCursorScreenPosition", "SetCursorScreenPosition 400 300",
        "gluLookAt 0 15 3 0.000253518 -85 3 0 0 1",
        CallLine("glLightfv", {GL_LIGHT0, GL_AMBIENT, 0.0503889, 0.0500778, 0.0500778, 1}),
        CallLine("glLightfv", {GL_LIGHT0, GL_DIFFUSE, 0.0503889, 0.0500778, 0.0500778, 1}),
        CallLine("glLightfv", {GL_LIGHT0, GL_POSITION, -5908.3, 600, 1044.98, 1}),
        CallLine("glLightModelfv", {GL_LIGHT_MODEL_AMBIENT, 0.0503889, 0.0500778, 0.0500778, 1}),
        CallLine("glEnable", {GL_COLOR_MATERIAL}),
        CallLine("glColorMaterial", {GL_FRONT, GL_AMBIENT_AND_DIFFUSE}),
        CallLine("glEnable", {GL_LIGHTING}), CallLine("glEnable", {GL_LIGHT0}),
        CallLine("glEnable", {GL_FOG}), CallLine("glFogi", {GL_FOG_MODE, GL_LINEAR}),
        CallLine("glFogfv", {GL_FOG_COLOR, 0, 0, 0, 1}), CallLine("glFogf", {GL_FOG_START, 1}),
        CallLine("glFogf", {GL_FOG_END, 100.889}), CallLine("glHint", {GL_FOG_HINT, GL_FASTEST}),
        "glFlush", "SwapFrontAndBack",
        "DispatchToWindow 256 27", "DefaultWindowProcedure 256 27",
        "DispatchToWindow 257 87", "DefaultWindowProcedure 257 87",
        "DispatchToWindow 512 0", "DefaultWindowProcedure 512 0",
        "DispatchToWindow 5 0", "glViewport 0 0 0 1", projection, "glLoadIdentity",
        "gluPerspective 54 0 0.1 3000", modelView, "glLoadIdentity",
        "frame", "DispatchToWindow 257 27", "MakeContextCurrent 0", "DeleteRenderContext 1",
        "PostQuit 0", "DispatchToWindow 18 0"});
    // clang-format on
    EXPECT_EQ(Run(0, 1), expected);
    EXPECT_EQ(g_windowWidth, 0);
    EXPECT_EQ(g_windowHeight, 1);
    EXPECT_EQ(fake::Fake().promptCaption, "说明");
    // The tests run where there is no kelm.3ds: that is said once and the run goes on.
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("walkthrough: cannot open kelm.3ds: ", 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

// The lines after the prompt up to the window, and the last lines of the run (close 16,
// destroy 2).
TEST_F(Shell, TheAnswerChoosesModeAndWindowAndEachEndingReleasesOnlyWhatItShould) {
    const Lines closed = {
        "frame",      "DispatchToWindow 16 0", "MakeContextCurrent 0", "DeleteRenderContext 1",
        "PostQuit 0", "DispatchToWindow 18 0"};
    const struct {
        int answer;
        bool modeTakes;
        int screenWidth, screenHeight;
        bool windowOpens;
        std::uint32_t ending;
        Lines head, tail;
    } rows[] = {
        // clang-format off
        // No: a centred overlapped window; on a smaller screen truncated toward zero.
        {kAnswerNo, true, 1024, 768, true, kMessageClose, UpToTheWindow(false, 112, 84), closed},
        {kAnswerNo, true, 797, 595, true, kMessageClose, UpToTheWindow(false, -1, -2), closed},
        // Any other answer asks for the mode; taken or not, a popup covers the corner.
        // Destroying the window posts the quit and leaves the context alone.
        {kAnswerYes, false, 1024, 768, true, kMessageDestroy, UpToTheWindow(true),
         {"frame", "DispatchToWindow 2 0", "PostQuit 0", "DispatchToWindow 18 0"}},
        {2, true, 1024, 768, true, kMessageClose, UpToTheWindow(true), closed},
        // Without a window nothing is shown, played or run: nothing could end a loop.
        {kAnswerYes, true, 1024, 768, false, kMessageClose, UpToTheWindow(true),
         {UpToTheWindow(true).back()}},
        // clang-format on
    };
    for (const auto& row : rows) {
        SetUp();
        fake::Fake().promptAnswer = row.answer;
        fake::Fake().displayModeTakes = row.modeTakes;
        fake::Fake().screenWidth = row.screenWidth;
        fake::Fake().screenHeight = row.screenHeight;
        fake::Fake().windowOpens = row.windowOpens;
        After(1, row.ending);
        const Lines run = Run(row.windowOpens ? 0 : 1);
        TearDown();

        ASSERT_GE(run.size(), row.head.size() + 1);
        EXPECT_EQ(Lines(run.begin() + 1, run.begin() + 1 + row.head.size()), row.head);
        EXPECT_EQ(Lines(run.end() - row.tail.size(), run.end()), row.tail);
    }
}

// A named model: no question, no mode change, no sound unless there is one; windowed, or full
// screen as a borderless window over the desktop. One that cannot be read ends the run at once.
// A file dropped on the window replaces the model and starts the sunrise again; one that cannot
// be read is said and changes nothing.
TEST_F(Shell, ANamedOrDroppedModelOpensWithoutTheQuestionOrSaysWhyItCannot) {
    ChunkWriter w;
    w.BeginModel();
    w.MeshObject({"Wall", {0, 0, 0, 10, 0, 0, 0, 10, 10}, {0, 1, 2}, {}});
    w.CameraObject("View", {5, 30, 5, 5, 5, 5});
    w.EndModel();
    const ModelFile model(w.bytes());
    const std::string missing = ::testing::TempDir() + "no-such-model.3ds";
    const std::string cannotOpen = "cannot open " + missing + ": " + std::strerror(ENOENT);
    RunOptions fullScreen = Named(model.path());
    fullScreen.display = DisplayChoice::kFullScreen;
    const struct {
        RunOptions options;
        int status;
        Lines head;
    } rows[] = {
        {Named(model.path()), 0, UpToTheWindow(false, 112, 84)},
        {fullScreen, 0, UpToTheWindow(true, 0, 0, 1024, 768, false)},
        {Named(missing), 1, {"ShowWarning " + cannotOpen}},
    };
    for (const auto& row : rows) {
        SetUp();
        fake::Fake().droppedFiles = {missing, model.path()};
        After(1, kMessageDropFiles, 0);
        After(2, kMessageDropFiles, 1);
        After(2, kMessageKeyUp, kKeyG);
        After(3, kMessageClose);
        ::testing::internal::CaptureStderr();
        const Lines run = Run(row.status, 0, row.options);
        const std::string said = ::testing::internal::GetCapturedStderr();
        ASSERT_GE(run.size(), row.head.size());
        EXPECT_EQ(Lines(run.begin(), run.begin() + row.head.size()), row.head);
        EXPECT_EQ(std::count(run.begin(), run.end(), "PlaySoundFileAsync"), 0);
        EXPECT_EQ(said, "walkthrough: " + cannotOpen + "\n");
        if (row.status != 0) {
            EXPECT_EQ(run.size(), 1u);
            continue;
        }
        const auto dropped =
            std::find(run.begin(), run.end(), "TakeDroppedFile 1 " + std::string(model.path()));
        ASSERT_NE(dropped, run.end());
        EXPECT_EQ(std::count(run.begin(), dropped, "ShowWarning " + cannotOpen), 1);
        // Reopened at the file's camera, one frame into the new sunrise; G let go walks from
        // there, and the title says so.
        EXPECT_EQ(g_renderer->scene.eye[1], 750.0);
        const std::string name = std::filesystem::path(model.path()).filename().string();
        const auto flying =
            std::find(dropped, run.end(), "SetWindowTitle " + name + " - flying (G: walk)");
        EXPECT_NE(std::find(flying, run.end(), "SetWindowTitle " + name + " - walking (G: fly)"),
                  run.end());
        // Drawn with its materials from then on: a colour and alpha per batch.
        const Lines calls = LoggedCalls();
        const auto taken = std::find(calls.begin(), calls.end(), *dropped);
        EXPECT_NE(
            std::find_if(taken, calls.end(),
                         [](const std::string& line) { return line.rfind("glColor4f", 0) == 0; }),
            calls.end());
        EXPECT_EQ(g_renderer->fogEnd, static_cast<float>(100.0 + 8.0 / 9.0));
        TearDown();
    }
}

// A model opening slowly shows a bar over the sky before its first frame; Escape let go while
// another opens gives that one up and keeps the model shown; F12 saves the picture and says
// where; the card of keys shows by itself and F1 hides it.
TEST_F(Shell, ANamedModelShowsProgressWhileOpeningEscapeGivesUpAndF1AndF12Act) {
    const ModelFile shown(Meshes(3)), given(Meshes(8));
    const std::string pictures = ScratchPath("pictures");
    fake::Fake().millisecondsPerRead = 300;  // every step of an opening takes a while
    fake::Fake().picturesFolder = pictures;
    fake::Fake().droppedFiles = {given.path()};
    After(1, kMessageKeyUp, kKeyF1);
    After(2, kMessageDropFiles, 0);
    After(2, kMessageKeyUp, kKeyEscape);  // let go while the dropped model opens
    After(3, kMessageKeyUp, kKeyF12);
    After(4, kMessageClose);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunWalkthrough(Named(shown.path())), 0);
    const std::string said = ::testing::internal::GetCapturedStderr();
    const std::string printed = ::testing::internal::GetCapturedStdout();

    const Lines calls = LoggedCalls();
    const auto at = [&calls](const std::string& line, Lines::const_iterator from) {
        return std::find(from, calls.end(), line);
    };
    // The bar, drawn with the overlay's matrices, and shown, before the model's first frame.
    const auto firstView = std::find_if(calls.begin(), calls.end(), [](const std::string& line) {
        return line.rfind("gluLookAt", 0) == 0;
    });
    const auto bar = at("glPushMatrix", calls.begin());
    EXPECT_LT(bar, firstView);
    EXPECT_LT(at("SwapFrontAndBack", bar), firstView);

    // F12: the frame read and saved in the folder, and said.
    EXPECT_NE(at("SavePicture 800 600 " + std::filesystem::path(shown.path()).stem().string(),
                 calls.begin()),
              calls.end());
    EXPECT_EQ(printed.rfind("walkthrough: Saved " + pictures, 0), 0u) << printed;
    const std::string saved = printed.substr(19, printed.find_last_not_of("\r\n") - 18);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(saved))) << saved;

    // The dropped model's opening given up: the model shown stays, and no sunrise starts again.
    EXPECT_NE(said.find("the opening of " + std::string(given.path()) + " was given up"),
              std::string::npos)
        << said;
    EXPECT_EQ(g_renderer->scene.ModelPath(), shown.path());
    EXPECT_EQ(at("PostQuit 0", calls.begin()), at("DispatchToWindow 16 0", calls.begin()) + 3);

    // The card shows by itself after opening (the overlay in every frame) until F1 hides it;
    // then nothing is drawn on top until F12's notice.
    const auto f1 = at("DispatchToWindow 257 112", calls.begin());
    const auto f12 = at("DispatchToWindow 257 123", calls.begin());
    ASSERT_LT(f1, f12);
    EXPECT_LT(at("glPushMatrix", firstView), f1);
    EXPECT_GT(at("glPushMatrix", f1), f12) << "the card shows after F1";
    EXPECT_NE(at("glPushMatrix", f12), calls.end()) << "no notice after F12";
    std::filesystem::remove_all(pictures);
}

}  // namespace
