#include "platform/common/FramePacer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <vector>

namespace {

using platform::FramePacer;
using Clock = FramePacer::Clock;
using std::chrono::milliseconds;

constexpr Clock::duration kPeriod = milliseconds(10);

Clock::time_point At(int millisecondsSinceStart) {
    return Clock::time_point{} + milliseconds(1000) + milliseconds(millisecondsSinceStart);
}

struct Swap {
    int finishedAt;     // ms
    int expectedDelay;  // ms
};

struct PacingCase {
    const char* name;
    std::vector<Swap> swaps;
};

void PrintTo(const PacingCase& pacingCase, std::ostream* out) {
    *out << pacingCase.name;
}

class FramePacerSchedule : public testing::TestWithParam<PacingCase> {};

TEST_P(FramePacerSchedule, HoldsEachSwapToItsSlot) {
    FramePacer pacer(kPeriod);
    for (const Swap& swap : GetParam().swaps) {
        EXPECT_EQ(pacer.DelayAfterSwap(At(swap.finishedAt)), milliseconds(swap.expectedDelay))
            << "swap finished at " << swap.finishedAt << " ms";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Schedules, FramePacerSchedule,
    testing::Values(
        // Swaps that come at once are spread one period apart.
        PacingCase{"BackToBack", {{0, 0}, {0, 10}, {10, 10}, {20, 10}}},
        // Work between swaps counts toward the period.
        PacingCase{"PartOfThePeriodSpentDrawing", {{0, 0}, {4, 6}, {13, 7}}},
        // Frames slower than the period are never held back.
        PacingCase{"SlowFrames", {{0, 0}, {15, 0}, {31, 0}}},
        // A swap late by less than a period keeps the schedule: the next may come early.
        PacingCase{"SlightlyLate", {{0, 0}, {14, 0}, {15, 5}, {20, 10}}},
        // After a stall of more than a period the schedule starts again from the late swap,
        // with no burst of quick frames to catch up.
        PacingCase{"Stall", {{0, 0}, {100, 0}, {100, 10}, {110, 10}}}),
    [](const testing::TestParamInfo<PacingCase>& info) { return info.param.name; });

TEST(FramePacer, NoMoreThanOneSwapPerPeriodOverTime) {
    FramePacer pacer(kPeriod);
    Clock::time_point now = At(0);
    int swaps = 0;
    while (now < At(1000)) {
        ++swaps;
        now += pacer.DelayAfterSwap(now) + std::chrono::microseconds(100);  // a quick frame
    }
    EXPECT_LE(swaps, 101);
    EXPECT_GE(swaps, 99);
}

}  // namespace
