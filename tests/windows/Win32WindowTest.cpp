// The Win32 backend against a real desktop (Windows, or Wine on a virtual X display), for what
// the smoke run of the program cannot see: the window's exact place, messages passed unchanged,
// a peek that leaves the message waiting, and the pointer's home at the client centre of a
// focused window.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/Win32Internal.h"

namespace {

using platform::Message;

std::vector<Message> g_received;

std::intptr_t RecordingProcedure(platform::WindowHandle window, std::uint32_t id,
                                 std::uintptr_t wParam, std::intptr_t lParam) {
    g_received.push_back({window, id, wParam, lParam});
    return platform::DefaultWindowProcedure(window, id, wParam, lParam);
}

// The last message of this id the procedure received; id 0 when there was none.
Message LastReceived(std::uint32_t id) {
    Message found;
    for (const Message& message : g_received) {
        found = message.id == id ? message : found;
    }
    return found;
}

class Win32Window : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(platform::RegisterWindowClass(
            {platform::kClassStyleClassDC, RecordingProcedure, "walkthrough-test"}));
    }

    // The window as the program opens it, at (40, 30) with an outer size of 320x240.
    void Open(std::uint32_t style) {
        g_received.clear();
        window = platform::CreateMainWindow(
            {"walkthrough-test", "Quellmark test",
             style | platform::kStyleClipSiblings | platform::kStyleClipChildren, 40, 30, 320,
             240});
        ASSERT_NE(window, nullptr);
        hwnd = platform::win32::ToHwnd(window);
    }
    void SetUp() override { Open(platform::kStyleOverlappedWindow); }
    void TearDown() override {
        DestroyWindow(hwnd);
        DrainQueue();
    }
    static void DrainQueue() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }

    platform::WindowHandle window = nullptr;
    HWND hwnd = nullptr;
};

TEST_F(Win32Window, IsCreatedWhereAskedAndTellsItsClientSizeNoLaterThanShowing) {
    EXPECT_EQ(LastReceived(platform::kMessageCreate).window, window);
    platform::ShowMainWindow(window);
    platform::UpdateMainWindow(window);

    RECT outer{};
    RECT client{};
    ASSERT_TRUE(GetWindowRect(hwnd, &outer) && GetClientRect(hwnd, &client));
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 30);
    EXPECT_EQ(outer.right - outer.left, 320);
    EXPECT_EQ(outer.bottom - outer.top, 240);
    const Message size = LastReceived(platform::kMessageSize);
    EXPECT_EQ(size.window, window);
    EXPECT_EQ(size.lParam, platform::PackSize(client.right, client.bottom));
}

TEST_F(Win32Window, APeekLeavesTheMessageWaitingAndARemovalTakesAndDispatchesIt) {
    DrainQueue();
    Message untouched{nullptr, 99, 0, 0};
    EXPECT_FALSE(platform::PeekWaitingMessage(untouched));
    EXPECT_FALSE(platform::RemoveWaitingMessage(untouched));
    EXPECT_EQ(untouched.id, 99u);

    // Every bit of a 64-bit parameter travels, there and back through the seam's records.
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 8, ~WPARAM{0}, -6));
    Message peeked;
    ASSERT_TRUE(platform::PeekWaitingMessage(peeked));
    ASSERT_TRUE(platform::PeekWaitingMessage(peeked));
    EXPECT_EQ(peeked.window, window);
    Message removed;
    ASSERT_TRUE(platform::RemoveWaitingMessage(removed));
    EXPECT_EQ(removed.id, WM_APP + 8u);
    EXPECT_EQ(removed.wParam, ~WPARAM{0});
    EXPECT_EQ(removed.lParam, -6);
    EXPECT_FALSE(platform::PeekWaitingMessage(peeked));

    g_received.clear();
    platform::TranslateKeyMessage(removed);
    platform::DispatchToWindow(removed);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].window, window);
    EXPECT_EQ(g_received[0].id, WM_APP + 8u);
    EXPECT_EQ(g_received[0].wParam, ~WPARAM{0});
    EXPECT_EQ(g_received[0].lParam, -6);
}

TEST_F(Win32Window, ThePointerIsHeldAtTheClientCentreOnlyWhileTheWindowHasTheFocus) {
    platform::ShowMainWindow(window);
    SetForegroundWindow(hwnd);
    DrainQueue();
    EXPECT_TRUE(platform::WindowHasInputFocus());
    platform::CursorPoint home;
    ASSERT_TRUE(platform::GetPointerHome(home));
    // The frame is as wide left as right; the caption makes the top the thicker side.
    EXPECT_EQ(home.x, 40 + 320 / 2);
    EXPECT_GT(home.y, 30 + 240 / 2);
    EXPECT_LT(home.y, 30 + 240);

    ASSERT_TRUE(platform::SetCursorScreenPosition(home.x + 7, home.y - 5));
    platform::CursorPoint point;
    ASSERT_TRUE(platform::GetCursorScreenPosition(point));
    EXPECT_EQ(point.x, home.x + 7);
    EXPECT_EQ(point.y, home.y - 5);

    ShowWindow(hwnd, SW_MINIMIZE);
    DrainQueue();
    EXPECT_FALSE(platform::WindowHasInputFocus());
}

TEST_F(Win32Window, AFullScreenWindowHoldsThePointerAtTheScreenPoint400By300) {
    DestroyWindow(hwnd);
    Open(platform::kStylePopup);
    MoveWindow(hwnd, 0, 0, 800, 600, FALSE);  // the full-screen window's place
    platform::CursorPoint home;
    ASSERT_TRUE(platform::GetPointerHome(home));
    EXPECT_EQ(home.x, 400);
    EXPECT_EQ(home.y, 300);
}

}  // namespace
