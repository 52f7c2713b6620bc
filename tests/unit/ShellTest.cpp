// Whole runs of the program from the prompt to the quit, through the fake platform and the GL
// recorder.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/Shell.h"
#include "platform/fake/FakePlatform.h"
#include "render/SceneRenderer.h"

namespace {

constexpr std::uint32_t kClipFlags = platform::kStyleClipSiblings | platform::kStyleClipChildren;

class ShellRun : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        fake::Fake().promptAnswer = platform::kAnswerNo;
        g_windowWidth = 800;
        g_windowHeight = 600;
        g_renderer = nullptr;
        g_hwnd = nullptr;
        g_hdc = nullptr;
    }
    void TearDown() override {
        delete g_renderer;
        g_renderer = nullptr;
    }

    static void After(int idleTurns, std::uint32_t id, std::uintptr_t wParam = 0,
                      std::intptr_t lParam = 0) {
        fake::Fake().schedule.push_back({idleTurns, {fake::FakeWindow(), id, wParam, lParam}});
    }
};

// One row per answer of the prompt and what the display makes of it.
struct DisplayCase {
    const char* name;
    int answer;
    bool modeTakes;
    int screenWidth, screenHeight;
    bool fullScreen;
    int x, y;  // expected window position
};

void PrintTo(const DisplayCase& c, std::ostream* out) {
    *out << c.name;
}

class ShellDisplay : public ShellRun, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(ShellDisplay, TheAnswerChoosesModeWindowAndCursor) {
    const DisplayCase& c = GetParam();
    fake::Fake().promptAnswer = c.answer;
    fake::Fake().displayModeTakes = c.modeTakes;
    fake::Fake().screenWidth = c.screenWidth;
    fake::Fake().screenHeight = c.screenHeight;
    After(1, platform::kMessageClose);

    EXPECT_EQ(RunWalkthrough(), 0);

    const auto modes = fake::CallsNamed("ChangeDisplayMode");
    ASSERT_EQ(modes.size(), c.fullScreen ? 1u : 0u);
    if (c.fullScreen) {
        EXPECT_EQ(modes[0].args, (std::vector<double>{800, 600, 16, 75}));
    }
    const std::uint32_t style =
        c.fullScreen ? platform::kStylePopup : platform::kStyleOverlappedWindow;
    const auto windows = fake::CallsNamed("CreateMainWindow");
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].text, "Quellmark");
    EXPECT_EQ(windows[0].args, (std::vector<double>{double(style | kClipFlags), double(c.x),
                                                    double(c.y), 800, 600}));
    EXPECT_EQ(fake::Fake().cursorVisible, !c.fullScreen);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ShellDisplay,
    ::testing::Values(
        // No: a centred overlapped window; a screen smaller than it truncates toward zero.
        DisplayCase{"No", platform::kAnswerNo, true, 1024, 768, false, 112, 84},
        DisplayCase{"NoOnASmallScreen", platform::kAnswerNo, true, 797, 595, false, -1, -2},
        // Any other answer: the mode is asked for and a popup covers the corner, taken or not.
        DisplayCase{"Yes", platform::kAnswerYes, true, 1024, 768, true, 0, 0},
        DisplayCase{"YesButModeRefused", platform::kAnswerYes, false, 1024, 768, true, 0, 0},
        DisplayCase{"Cancel", 2, true, 1024, 768, true, 0, 0}),
    [](const ::testing::TestParamInfo<DisplayCase>& info) { return std::string(info.param.name); });

TEST_F(ShellRun, StartUpRunsInTheBoundOrder) {
    After(2, platform::kMessageClose);

    EXPECT_EQ(RunWalkthrough(), 0);

    // The scene moves the cursor while the renderer is constructed, before the window exists;
    // the context comes with the creation message and the projection with the size message,
    // both inside window creation; the fixed GL state, the sound and the frames follow.
    int previous = -1;
    for (const char* call :
         {"AskYesNo", "RegisterWindowClass", "SetCursorScreenPosition", "CreateMainWindow",
          "GetWindowDeviceContext", "MakeContextCurrent", "glViewport", "ShowMainWindow",
          "UpdateMainWindow", "glShadeModel", "glClearColor", "glClearDepth", "glEnable",
          "PlaySoundFileAsync", "glClear"}) {
        const int index = fake::IndexOf(call, previous + 1);
        ASSERT_GT(index, previous) << call;
        previous = index;
    }
    EXPECT_EQ(fake::Fake().promptText,
              "总设计:\n     Quellmark04级学生:Tervani\n\n说明:\n     "
              "'W','S','A','D'控制前后左右,鼠标控制眼睛\n\n          使用全屏模式吗?");
    EXPECT_EQ(fake::Fake().promptCaption, "说明");
    EXPECT_EQ(fake::CallsNamed("RegisterWindowClass").at(0).text, "tml");
    EXPECT_EQ(fake::CallsNamed("RegisterWindowClass").at(0).args, std::vector<double>{0x40});
    const int shading = fake::IndexOf("glShadeModel");
    EXPECT_EQ(fake::CallLog()[shading].args, std::vector<double>{GL_FLAT});
    EXPECT_EQ(fake::CallLog()[fake::IndexOf("glEnable", shading)].args,
              std::vector<double>{GL_DEPTH_TEST});
    EXPECT_EQ(fake::CallsNamed("glClearColor").front().args, (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(fake::CallsNamed("glClearDepth").front().args, std::vector<double>{1.0});
    EXPECT_EQ(fake::CallsNamed("PlaySoundFileAsync").front().text, "groud.wav");
}

TEST_F(ShellRun, WithoutAWindowTheRunEndsAtOnceWithStatusOne) {
    fake::Fake().windowOpens = false;

    EXPECT_EQ(RunWalkthrough(), 1);

    EXPECT_EQ(fake::IndexOf("ShowMainWindow"), -1);
    EXPECT_EQ(fake::IndexOf("PlaySoundFileAsync"), -1);
    EXPECT_EQ(fake::Fake().idleTurns, 0);
}

TEST_F(ShellRun, AMissingModelIsReportedOnceAndTheRunGoesOn) {
    // The tests run where there is no kelm.3ds.
    After(1, platform::kMessageClose);
    ::testing::internal::CaptureStderr();

    EXPECT_EQ(RunWalkthrough(), 0);

    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("walkthrough: cannot open kelm.3ds: ", 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_EQ(fake::Fake().swaps, 1);
}

TEST_F(ShellRun, FramesRenderOnlyWhileNoMessageWaits) {
    // Three messages waiting together after the second frame, the close after the fifth.
    After(2, platform::kMessageKeyDown, 'W');
    After(2, platform::kMessageKeyUp, 'W');
    After(2, 0x0200 /* some message the window does not handle */);
    After(5, platform::kMessageClose);

    EXPECT_EQ(RunWalkthrough(), 0);

    EXPECT_EQ(fake::Fake().swaps, 5);
    const int secondSwap = fake::IndexOf("SwapFrontAndBack", fake::IndexOf("SwapFrontAndBack") + 1);
    const int thirdSwap = fake::IndexOf("SwapFrontAndBack", secondSwap + 1);
    int dispatched = 0;
    for (int i = secondSwap; i < thirdSwap; ++i) {
        dispatched += fake::CallLog()[i].name == "DispatchToWindow";
    }
    EXPECT_EQ(dispatched, 3);
    // What the window does not handle goes to the default handling and changes nothing.
    const auto defaults = fake::CallsNamed("DefaultWindowProcedure");
    ASSERT_EQ(defaults.size(), 3u);
    EXPECT_EQ(defaults[1].args, (std::vector<double>{platform::kMessageKeyUp, 'W'}));
    EXPECT_EQ(defaults[2].args, (std::vector<double>{0x0200, 0}));
}

TEST_F(ShellRun, EverySizeMessageSetsTheProjectionAndAMinimisedWindowGetsHeightOne) {
    fake::Fake().clientWidth = 784;  // the frame takes its share of the outer size
    fake::Fake().clientHeight = 561;
    After(1, platform::kMessageSize, 0, platform::PackSize(1024, 700));
    After(2, platform::kMessageSize, 0, platform::PackSize(0, 0));
    After(3, platform::kMessageClose);

    EXPECT_EQ(RunWalkthrough(), 0);

    const auto viewports = fake::CallsNamed("glViewport");
    ASSERT_EQ(viewports.size(), 3u);
    EXPECT_EQ(viewports[0].args, (std::vector<double>{0, 0, 784, 561}));
    EXPECT_EQ(viewports[1].args, (std::vector<double>{0, 0, 1024, 700}));
    EXPECT_EQ(viewports[2].args, (std::vector<double>{0, 0, 0, 1}));
    const auto projections = fake::CallsNamed("gluPerspective");
    ASSERT_EQ(projections.size(), 3u);
    EXPECT_EQ(projections[2].args[1], 0.0);
    EXPECT_EQ(g_windowWidth, 0);
    EXPECT_EQ(g_windowHeight, 1);
}

// The ways a run ends: Escape on its release only, closing, destroying.
struct EndCase {
    const char* name;
    std::vector<std::pair<int, std::uint32_t>> messages;  // after idle turns; Escape for keys
    int frames;
    bool releasesContext;
};

class ShellEnd : public ShellRun, public ::testing::WithParamInterface<EndCase> {};

TEST_P(ShellEnd, EndsAfterItsFramesAndPostsTheQuitOnce) {
    for (const auto& [turns, id] : GetParam().messages) {
        After(turns, id, platform::kKeyEscape);
    }

    EXPECT_EQ(RunWalkthrough(), 0);

    EXPECT_EQ(fake::Fake().swaps, GetParam().frames);
    EXPECT_TRUE(fake::CallsNamed("IdleTurnLimit").empty());
    const auto quits = fake::CallsNamed("PostQuit");
    ASSERT_EQ(quits.size(), 1u);
    EXPECT_EQ(quits[0].args, std::vector<double>{0.0});
    // Nothing is rendered once the quit message has been posted.
    const int quit = fake::IndexOf("PostQuit");
    EXPECT_EQ(fake::IndexOf("SwapFrontAndBack", quit), -1);
    // Escape and closing unbind and delete the context, then quit; a destroyed window's context
    // goes with it.
    EXPECT_EQ(fake::CallsNamed("DeleteRenderContext").size(), GetParam().releasesContext ? 1u : 0u);
    if (GetParam().releasesContext) {
        EXPECT_EQ(fake::CallLog()[quit - 1].name, "DeleteRenderContext");
        EXPECT_EQ(fake::CallLog()[quit - 2].name, "MakeContextCurrent");
        EXPECT_EQ(fake::CallLog()[quit - 2].args, std::vector<double>{0.0});
    }
}

void PrintTo(const EndCase& c, std::ostream* out) {
    *out << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ShellEnd,
    ::testing::Values(
        EndCase{"Escape", {{1, platform::kMessageKeyDown}, {6, platform::kMessageKeyUp}}, 6, true},
        EndCase{"Close", {{2, platform::kMessageClose}}, 2, true},
        EndCase{"Destroy", {{2, platform::kMessageDestroy}}, 2, false}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

}  // namespace
