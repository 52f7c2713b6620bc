// Buffer swaps: whether the driver offers swap control, and the pacer that spaces swaps a period
// apart, 75 a second whatever the display's refresh rate.
#include <gtest/gtest.h>

#include <chrono>
#include <utility>
#include <vector>

#include "platform/common/ExtensionList.h"
#include "platform/common/FramePacer.h"

namespace {

using platform::FramePacer;
using std::chrono::milliseconds;

TEST(ExtensionList, NamesOnlyWholeNames) {
    const char* const name = "WGL_EXT_swap_control";
    EXPECT_TRUE(platform::ExtensionListHas("WGL_ARB_a WGL_EXT_swap_control WGL_ARB_b ", name));
    EXPECT_TRUE(platform::ExtensionListHas("WGL_EXT_swap_control_tear WGL_EXT_swap_control", name));
    EXPECT_FALSE(platform::ExtensionListHas("WGL_EXT_swap_control_tear", name));
    EXPECT_FALSE(platform::ExtensionListHas("XWGL_EXT_swap_control", name));
    EXPECT_FALSE(platform::ExtensionListHas(nullptr, name));
}

TEST(FramePacer, HoldsEachSwapToItsSlot) {
    // Each row: (when a swap finished, the delay expected after it) in ms, period 10 ms.
    const std::vector<std::vector<std::pair<int, int>>> schedules = {
        {{0, 0}, {0, 10}, {10, 10}, {20, 10}},     // swaps at once are spread a period apart
        {{0, 0}, {4, 6}, {13, 7}},                 // drawing time counts toward the period
        {{0, 0}, {15, 0}, {31, 0}},                // slow frames are never held back
        {{0, 0}, {20, 0}, {20, 0}, {20, 10}},      // up to a period late: the schedule holds
        {{0, 0}, {100, 0}, {100, 10}, {110, 10}},  // after a stall: no burst to catch up
    };
    for (const auto& schedule : schedules) {
        FramePacer pacer(milliseconds(10));
        for (const auto& [finishedAt, delay] : schedule) {
            const FramePacer::Clock::time_point now{milliseconds(1000 + finishedAt)};
            EXPECT_EQ(pacer.DelayAfterSwap(now), milliseconds(delay)) << "at " << finishedAt;
        }
    }
}

TEST(FramePacer, HoldsSwapsThatWaitForA144HzRetraceTo75ASecond) {
    // Each swap returns at the next retrace of a 144 Hz display, and is then held back.
    FramePacer pacer;
    const auto retrace = std::chrono::nanoseconds(1000000000 / 144);
    const FramePacer::Clock::time_point oneSecond{std::chrono::seconds(1)};
    int swaps = 0;
    for (auto now = FramePacer::Clock::time_point{} + retrace; now < oneSecond; now += retrace) {
        ++swaps;
        now += pacer.DelayAfterSwap(now);
    }
    EXPECT_EQ(swaps, 75);
}

}  // namespace
