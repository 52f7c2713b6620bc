// Buffer swaps: whether the driver offers swap control, the pacer that spaces swaps a period
// apart, and the Win32 backend's judgement whether swaps promised to wait for the retrace do.
#include <gtest/gtest.h>

#include <chrono>
#include <utility>
#include <vector>

#include "platform/common/ExtensionList.h"
#include "platform/common/FramePacer.h"
#include "platform/win32/RetraceCheck.h"

namespace {

using platform::FramePacer;
using platform::win32::RetraceCheck;
using std::chrono::microseconds;
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

TEST(RetraceCheck, JudgesByMostOfTheFirstGapsAndKeepsItsJudgement) {
    constexpr int kGaps = RetraceCheck::kGapsToWatch;
    // Runs of (swaps, microseconds between them), and whether the swaps are judged to wait.
    const std::pair<std::vector<std::pair<int, int>>, bool> courses[] = {
        {{{kGaps + 1, 2000}}, true},                         // just a retrace apart
        {{{kGaps + 1, 1999}}, false},                        // just under
        {{{kGaps, 100}}, true},                              // too few gaps to judge
        {{{kGaps + 1, 100}, {100, 16667}}, false},           // judged, not reconsidered
        {{{kGaps + 1, 16667}, {100, 100}}, true},            // likewise
        {{{kGaps / 2 + 1, 50}, {kGaps / 2, 16667}}, true},   // half queued ahead
        {{{kGaps / 2 + 2, 50}, {kGaps / 2, 16667}}, false},  // more than half short
    };
    for (const auto& [runs, waits] : courses) {
        RetraceCheck check;
        RetraceCheck::Clock::time_point now{};
        for (const auto& [swaps, gap] : runs) {
            for (int i = 0; i < swaps; ++i) {
                now += microseconds(gap);
                check.RecordSwap(now);
            }
        }
        EXPECT_EQ(check.SwapsWait(), waits)
            << "first run " << runs[0].first << " x " << runs[0].second;
    }
}

}  // namespace
