// The judgement whether swaps promised to wait for the retrace really do.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/win32/RetraceCheck.h"

namespace {

using platform::win32::RetraceCheck;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// Feeds `count` swaps spaced by the given gap after `start`, and returns the time of the last.
RetraceCheck::Clock::time_point Swaps(RetraceCheck& check, RetraceCheck::Clock::time_point start,
                                      int count, RetraceCheck::Clock::duration gap) {
    RetraceCheck::Clock::time_point now = start;
    for (int i = 0; i < count; ++i) {
        now += gap;
        check.RecordSwap(now);
    }
    return now;
}

struct Course {
    const char* what;
    RetraceCheck::Clock::duration gap;
    bool waits;
};

TEST(RetraceCheck, JudgesByTheGapsBetweenSwaps) {
    const Course courses[] = {
        {"60 Hz", microseconds(16667), true},
        {"360 Hz", microseconds(2778), true},
        {"just a retrace apart", milliseconds(2), true},
        {"just under", microseconds(1999), false},
        {"a virtual display", microseconds(370), false},
    };
    for (const Course& course : courses) {
        SCOPED_TRACE(course.what);
        RetraceCheck check;
        Swaps(check, {}, RetraceCheck::kGapsToWatch + 1, course.gap);
        EXPECT_EQ(check.SwapsWait(), course.waits);
    }
}

TEST(RetraceCheck, TrustsTheDriverUntilEnoughGapsAndThenKeepsItsJudgement) {
    RetraceCheck fast;
    auto now = Swaps(fast, {}, RetraceCheck::kGapsToWatch, microseconds(100));
    EXPECT_TRUE(fast.SwapsWait());
    now = Swaps(fast, now, 1, microseconds(100));
    EXPECT_FALSE(fast.SwapsWait());
    Swaps(fast, now, 100, microseconds(16667));
    EXPECT_FALSE(fast.SwapsWait());

    RetraceCheck paced;
    now = Swaps(paced, {}, RetraceCheck::kGapsToWatch + 1, microseconds(16667));
    Swaps(paced, now, 100, microseconds(100));
    EXPECT_TRUE(paced.SwapsWait());
}

TEST(RetraceCheck, AFewFramesQueuedAheadDoNotCountAgainstTheRetrace) {
    RetraceCheck check;
    // Half the gaps short, as when the driver lets frames queue: still waiting.
    auto now = Swaps(check, {}, 1 + RetraceCheck::kGapsToWatch / 2, microseconds(50));
    Swaps(check, now, RetraceCheck::kGapsToWatch / 2, microseconds(16667));
    EXPECT_TRUE(check.SwapsWait());
}

}  // namespace
