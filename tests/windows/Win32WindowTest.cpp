// The Win32 backend against a real desktop (Windows, or Wine on a virtual X display): the
// window procedure sees the messages unchanged, the queue behaves as the main loop expects,
// and a rendering context can be made on the window with the program's pixel-format request.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "platform/win32/Win32Internal.h"

namespace {

using platform::Message;
using platform::WindowHandle;

constexpr std::uint32_t kAnswered = WM_APP + 7;  // the procedure answers this one itself
constexpr std::intptr_t kAnswer = 1234;

std::vector<Message> g_received;

std::intptr_t RecordingProcedure(WindowHandle window, std::uint32_t id, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    g_received.push_back({window, id, wParam, lParam});
    if (id == kAnswered) {
        return kAnswer;
    }
    return platform::DefaultWindowProcedure(window, id, wParam, lParam);
}

bool ReceivedOnce(std::uint32_t id, Message* found = nullptr) {
    int count = 0;
    for (const Message& message : g_received) {
        if (message.id == id) {
            ++count;
            if (found != nullptr) {
                *found = message;
            }
        }
    }
    return count == 1;
}

class Win32Window : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        platform::WindowClass windowClass;
        windowClass.style = platform::kClassStyleClassDC;
        windowClass.procedure = RecordingProcedure;
        windowClass.className = "walkthrough-test";
        ASSERT_TRUE(platform::RegisterWindowClass(windowClass));
    }

    void SetUp() override {
        g_received.clear();
        platform::WindowSpec windowSpec;
        windowSpec.className = "walkthrough-test";
        windowSpec.title = "Quellmark test";
        windowSpec.style = platform::kStyleOverlappedWindow | platform::kStyleClipSiblings |
                           platform::kStyleClipChildren;
        windowSpec.x = 40;
        windowSpec.y = 30;
        windowSpec.width = 320;
        windowSpec.height = 240;
        window = platform::CreateMainWindow(windowSpec);
        ASSERT_NE(window, nullptr);
        hwnd = platform::win32::ToHwnd(window);
    }

    void TearDown() override {
        if (hwnd != nullptr) {
            DestroyWindow(hwnd);
        }
        DrainQueue();
    }

    // Dispatches whatever the system queued for the window so far.
    static void DrainQueue() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }

    WindowHandle window = nullptr;
    HWND hwnd = nullptr;
};

TEST_F(Win32Window, CreationIsSeenInsideCreateAndTheClientSizeNoLaterThanShowing) {
    Message create;
    ASSERT_TRUE(ReceivedOnce(platform::kMessageCreate, &create));
    EXPECT_EQ(create.window, window);

    platform::ShowMainWindow(window);
    platform::UpdateMainWindow(window);

    RECT client{};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    Message size;
    bool sawSize = false;
    for (const Message& message : g_received) {
        if (message.id == platform::kMessageSize) {
            size = message;
            sawSize = true;
        }
    }
    ASSERT_TRUE(sawSize);
    EXPECT_EQ(size.window, window);
    EXPECT_EQ(size.lParam, platform::PackSize(client.right, client.bottom));
}

TEST_F(Win32Window, TheOuterRectangleIsTheOneAskedFor) {
    RECT outer{};
    ASSERT_TRUE(GetWindowRect(hwnd, &outer));
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 30);
    EXPECT_EQ(outer.right - outer.left, 320);
    EXPECT_EQ(outer.bottom - outer.top, 240);
}

TEST_F(Win32Window, MessagesReachTheProcedureUnchangedAndItsResultComesBack) {
    const WPARAM wParam = ~WPARAM{0};
    const LPARAM lParam = -2;
    g_received.clear();

    EXPECT_EQ(SendMessageA(hwnd, kAnswered, wParam, lParam), kAnswer);

    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].window, window);
    EXPECT_EQ(g_received[0].id, kAnswered);
    EXPECT_EQ(g_received[0].wParam, wParam);
    EXPECT_EQ(g_received[0].lParam, lParam);
}

TEST_F(Win32Window, WhatTheProcedurePassesOnIsHandledByTheSystemDefault) {
    // Only the default procedure keeps a window's text.
    ASSERT_TRUE(SetWindowTextA(hwnd, "handed on"));
    char text[32] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    EXPECT_STREQ(text, "handed on");
    EXPECT_TRUE(ReceivedOnce(WM_SETTEXT));
}

TEST_F(Win32Window, APeekLeavesTheMessageWaitingAndARemovalTakesAndDispatchesIt) {
    DrainQueue();
    Message untouched;
    untouched.id = 99;
    EXPECT_FALSE(platform::PeekWaitingMessage(untouched));
    EXPECT_FALSE(platform::RemoveWaitingMessage(untouched));
    EXPECT_EQ(untouched.id, 99u);

    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 8, 5, -6));
    Message peeked;
    ASSERT_TRUE(platform::PeekWaitingMessage(peeked));
    ASSERT_TRUE(platform::PeekWaitingMessage(peeked));
    EXPECT_EQ(peeked.window, window);
    EXPECT_EQ(peeked.id, WM_APP + 8u);

    Message removed;
    ASSERT_TRUE(platform::RemoveWaitingMessage(removed));
    EXPECT_EQ(removed.id, WM_APP + 8u);
    EXPECT_EQ(removed.wParam, 5u);
    EXPECT_EQ(removed.lParam, -6);
    EXPECT_FALSE(platform::PeekWaitingMessage(peeked));

    g_received.clear();
    platform::TranslateKeyMessage(removed);
    platform::DispatchToWindow(removed);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].id, WM_APP + 8u);
    EXPECT_EQ(g_received[0].lParam, -6);
}

TEST_F(Win32Window, TheQuitMessageCarriesTheExitCodeAndNoWindow) {
    DrainQueue();
    platform::PostQuit(3);

    Message quit;
    ASSERT_TRUE(platform::RemoveWaitingMessage(quit));
    EXPECT_EQ(quit.id, platform::kMessageQuit);
    EXPECT_EQ(quit.wParam, 3u);
    EXPECT_EQ(quit.window, nullptr);
}

TEST_F(Win32Window, TheProgramsPixelFormatGivesACurrentContextThatSwapsAndIsReleased) {
    platform::PixelFormatRequest request;
    request.size = 40;
    request.version = 1;
    request.flags =
        platform::kPixelDrawToWindow | platform::kPixelSupportOpenGL | platform::kPixelDoubleBuffer;
    request.pixelType = platform::kPixelTypeRgba;
    request.colorBits = 16;
    request.depthBits = 16;
    request.layerType = platform::kPixelMainPlane;

    const platform::DeviceContext dc = platform::GetWindowDeviceContext(window);
    ASSERT_NE(dc, nullptr);
    const int format = platform::ChoosePixelFormat(dc, request);
    ASSERT_GT(format, 0);
    EXPECT_TRUE(platform::SetPixelFormat(dc, format, request));
    EXPECT_EQ(GetPixelFormat(platform::win32::ToHdc(dc)), format);

    const platform::RenderContext context = platform::CreateRenderContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(platform::MakeContextCurrent(dc, context));
    EXPECT_EQ(wglGetCurrentContext(), platform::win32::ToHglrc(context));
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);

    platform::ShowMainWindow(window);
    glClearColor(0.0f, 0.0f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    EXPECT_TRUE(platform::SwapFrontAndBack(dc));
    EXPECT_TRUE(platform::SwapFrontAndBack(dc));

    EXPECT_TRUE(platform::MakeContextCurrent(dc, nullptr));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_TRUE(platform::DeleteRenderContext(context));
}

// As in the program, the cursor is placed while its window is up.
TEST_F(Win32Window, APlacedCursorIsReadBackInScreenPixels) {
    platform::ShowMainWindow(window);
    ASSERT_TRUE(platform::SetCursorScreenPosition(123, 45));
    platform::CursorPoint point;
    ASSERT_TRUE(platform::GetCursorScreenPosition(point));
    EXPECT_EQ(point.x, 123);
    EXPECT_EQ(point.y, 45);
}

}  // namespace
