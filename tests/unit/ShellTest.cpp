// Whole runs of the program from the prompt to the quit, through the fake platform and the GL
// recorder.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/Shell.h"
#include "platform/fake/FakePlatform.h"
#include "render/SceneRenderer.h"

namespace {

using platform::Message;

class ShellRun : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
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
        Message message;
        message.window = fake::FakeWindow();
        message.id = id;
        message.wParam = wParam;
        message.lParam = lParam;
        fake::Fake().schedule.push_back(fake::ScheduledMessage{idleTurns, message});
    }

    static int Run() { return RunWalkthrough(); }
};

constexpr std::uint32_t kClipFlags = platform::kStyleClipSiblings | platform::kStyleClipChildren;

TEST_F(ShellRun, AnsweringNoOpensACentredOverlappedWindowAndKeepsTheCursor) {
    fake::Fake().promptAnswer = platform::kAnswerNo;
    After(3, platform::kMessageClose);

    EXPECT_EQ(Run(), 0);

    EXPECT_EQ(fake::Fake().promptText,
              "总设计:\n     Quellmark04级学生:Tervani\n\n说明:\n     "
              "'W','S','A','D'控制前后左右,鼠标控制眼睛\n\n          使用全屏模式吗?");
    EXPECT_EQ(fake::Fake().promptCaption, "说明");
    EXPECT_TRUE(fake::CallsNamed("ChangeDisplayMode").empty());
    EXPECT_TRUE(fake::Fake().cursorVisible);

    const auto windows = fake::CallsNamed("CreateMainWindow");
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].text, "Quellmark");
    EXPECT_EQ(windows[0].args,
              (std::vector<double>{double(0x00CF0000u | kClipFlags), 112, 84, 800, 600}));
    EXPECT_STREQ(fake::Fake().windowSpec.className, "tml");
    const auto classes = fake::CallsNamed("RegisterWindowClass");
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0].text, "tml");
    EXPECT_EQ(classes[0].args[0], 0x40);
}

TEST_F(ShellRun, AScreenSmallerThanTheWindowGivesPositionsTruncatedTowardZero) {
    fake::Fake().promptAnswer = platform::kAnswerNo;
    fake::Fake().screenWidth = 797;
    fake::Fake().screenHeight = 595;
    After(0, platform::kMessageClose);

    EXPECT_EQ(Run(), 0);

    EXPECT_EQ(fake::Fake().windowSpec.x, -1);
    EXPECT_EQ(fake::Fake().windowSpec.y, -2);
}

TEST_F(ShellRun, AnyAnswerButNoSwitchesTheModeAndOpensAPopupWithTheCursorHidden) {
    for (const bool modeTakes : {true, false}) {
        for (const int answer : {platform::kAnswerYes, 2 /* cancel */}) {
            SCOPED_TRACE(::testing::Message() << "answer " << answer << " mode " << modeTakes);
            TearDown();
            SetUp();
            fake::Fake().promptAnswer = answer;
            fake::Fake().displayModeTakes = modeTakes;
            After(1, platform::kMessageClose);

            EXPECT_EQ(Run(), 0);

            const auto modes = fake::CallsNamed("ChangeDisplayMode");
            ASSERT_EQ(modes.size(), 1u);
            EXPECT_EQ(modes[0].args, (std::vector<double>{800, 600, 16, 75}));
            EXPECT_EQ(fake::Fake().windowSpec.style, platform::kStylePopup | kClipFlags);
            EXPECT_EQ(fake::Fake().windowSpec.x, 0);
            EXPECT_EQ(fake::Fake().windowSpec.y, 0);
            EXPECT_EQ(fake::Fake().windowSpec.width, 800);
            EXPECT_EQ(fake::Fake().windowSpec.height, 600);
            EXPECT_FALSE(fake::Fake().cursorVisible);
        }
    }
}

TEST_F(ShellRun, StartUpRunsInTheBoundOrder) {
    fake::Fake().promptAnswer = platform::kAnswerNo;
    After(2, platform::kMessageClose);

    EXPECT_EQ(Run(), 0);

    // The scene moves the cursor while the renderer is constructed, before the window exists;
    // the context comes with the creation message and the projection with the size message,
    // both inside window creation; the fixed GL state, the sound and the frames follow.
    const int prompt = fake::IndexOf("AskYesNo");
    const int registered = fake::IndexOf("RegisterWindowClass");
    const int renderer = fake::IndexOf("SetCursorScreenPosition");
    const int window = fake::IndexOf("CreateMainWindow");
    const int dc = fake::IndexOf("GetWindowDeviceContext");
    const int bound = fake::IndexOf("MakeContextCurrent");
    const int viewport = fake::IndexOf("glViewport");
    const int shown = fake::IndexOf("ShowMainWindow");
    const int updated = fake::IndexOf("UpdateMainWindow");
    const int shading = fake::IndexOf("glShadeModel");
    const int depthTest = fake::IndexOf("glEnable", shading);
    const int sound = fake::IndexOf("PlaySoundFileAsync");
    const int firstFrame = fake::IndexOf("glClear");
    for (int index : {prompt, registered, renderer, window, dc, bound, viewport, shown, updated,
                      shading, depthTest, sound, firstFrame}) {
        ASSERT_GE(index, 0);
    }
    EXPECT_LT(prompt, registered);
    EXPECT_LT(registered, renderer);
    EXPECT_LT(renderer, window);
    EXPECT_LT(window, dc);
    EXPECT_LT(dc, bound);
    EXPECT_LT(bound, viewport);
    EXPECT_LT(viewport, shown);
    EXPECT_LT(shown, updated);
    EXPECT_LT(updated, shading);
    EXPECT_LT(depthTest, sound);
    EXPECT_LT(sound, firstFrame);

    EXPECT_EQ(fake::CallLog()[shading].args, std::vector<double>{GL_FLAT});
    EXPECT_EQ(fake::CallLog()[depthTest].args, std::vector<double>{GL_DEPTH_TEST});
    EXPECT_EQ(fake::CallsNamed("glClearColor").front().args, (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(fake::CallsNamed("glClearDepth").front().args, std::vector<double>{1.0});
    EXPECT_EQ(fake::CallsNamed("PlaySoundFileAsync").front().text, "groud.wav");
}

TEST_F(ShellRun, FramesRenderOnlyWhileNoMessageWaits) {
    fake::Fake().promptAnswer = platform::kAnswerNo;
    // Three messages waiting together after the second frame, the close after the fifth.
    After(2, platform::kMessageKeyDown, 'W');
    After(2, platform::kMessageKeyUp, 'W');
    After(2, 0x0200 /* some message the window does not handle */);
    After(5, platform::kMessageClose);

    EXPECT_EQ(Run(), 0);

    EXPECT_EQ(fake::Fake().swaps, 5);
    // Between the second and third frame the three messages were all dispatched.
    int swap = -1;
    for (int frame = 0; frame < 2; ++frame) {
        swap = fake::IndexOf("SwapFrontAndBack", swap + 1);
    }
    const int nextSwap = fake::IndexOf("SwapFrontAndBack", swap + 1);
    int dispatched = 0;
    for (int i = swap; i < nextSwap; ++i) {
        dispatched += fake::CallLog()[i].name == "DispatchToWindow";
    }
    EXPECT_EQ(dispatched, 3);
    // Nothing is rendered once the quit message has been posted.
    EXPECT_EQ(fake::IndexOf("SwapFrontAndBack", fake::IndexOf("PostQuit")), -1);
}

TEST_F(ShellRun, EverySizeMessageSetsTheProjectionAndAMinimisedWindowGetsHeightOne) {
    fake::Fake().promptAnswer = platform::kAnswerNo;
    fake::Fake().clientWidth = 784;  // the frame takes its share of the outer size
    fake::Fake().clientHeight = 561;
    After(1, platform::kMessageSize, 0, platform::PackSize(1024, 700));
    After(2, platform::kMessageSize, 0, platform::PackSize(0, 0));
    After(3, platform::kMessageClose);

    EXPECT_EQ(Run(), 0);

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

TEST_F(ShellRun, EscapeActsOnItsReleaseOnly) {
    fake::Fake().promptAnswer = platform::kAnswerNo;
    After(1, platform::kMessageKeyDown, platform::kKeyEscape);
    After(4, platform::kMessageKeyUp, 'Q');
    After(6, platform::kMessageKeyUp, platform::kKeyEscape);

    EXPECT_EQ(Run(), 0);

    // The press and the release of another key go to the default handling and change nothing.
    EXPECT_EQ(fake::Fake().swaps, 6);
    const auto defaults = fake::CallsNamed("DefaultWindowProcedure");
    ASSERT_EQ(defaults.size(), 2u);
    EXPECT_EQ(defaults[0].args, (std::vector<double>{platform::kMessageKeyDown, 0x1B}));
    EXPECT_EQ(defaults[1].args, (std::vector<double>{platform::kMessageKeyUp, 'Q'}));
    // The release unbinds and deletes the context, then posts the quit message.
    const int unbind = fake::IndexOf("MakeContextCurrent", fake::IndexOf("SwapFrontAndBack"));
    ASSERT_GE(unbind, 0);
    EXPECT_EQ(fake::CallLog()[unbind].args, std::vector<double>{0.0});
    EXPECT_EQ(fake::CallLog()[unbind + 1].name, "DeleteRenderContext");
    EXPECT_EQ(fake::CallLog()[unbind + 2].name, "PostQuit");
    EXPECT_EQ(fake::CallLog()[unbind + 2].args, std::vector<double>{0.0});
}

TEST_F(ShellRun, ClosingOrDestroyingTheWindowEndsTheRun) {
    for (const std::uint32_t message : {platform::kMessageClose, platform::kMessageDestroy}) {
        SCOPED_TRACE(message);
        TearDown();
        SetUp();
        fake::Fake().promptAnswer = platform::kAnswerNo;
        After(2, message);

        EXPECT_EQ(Run(), 0);

        EXPECT_EQ(fake::Fake().swaps, 2);
        EXPECT_EQ(fake::CallsNamed("PostQuit").size(), 1u);
        EXPECT_TRUE(fake::CallsNamed("IdleTurnLimit").empty());
        // Closing releases the context; a destroyed window's context goes with it.
        EXPECT_EQ(fake::CallsNamed("DeleteRenderContext").size(),
                  message == platform::kMessageClose ? 1u : 0u);
    }
}

}  // namespace
