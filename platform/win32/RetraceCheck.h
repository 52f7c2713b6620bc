// Whether swaps that a driver promised to tie to the display's retrace really wait for it.
// Some drivers accept a swap interval of 1 and ignore it (a "vertical sync off" setting of the
// graphics driver, a virtual display); the frames would then come as fast as the processor
// allows. Knows only times, so that its judgement can be checked on its own.
#pragma once

#include <chrono>

namespace platform::win32 {

class RetraceCheck {
public:
    using Clock = std::chrono::steady_clock;

    // Gaps watched before judging; a few first swaps may return at once (frames queued ahead).
    static constexpr int kGapsToWatch = 30;
    // No display refreshes more than 500 times a second.
    static constexpr Clock::duration kShortestRetrace = std::chrono::milliseconds(2);

    // Notes a swap that finished at `now`.
    void RecordSwap(Clock::time_point now);
    // True until the swaps have been seen not to wait: most of the watched gaps were shorter
    // than any retrace.
    bool SwapsWait() const { return swapsWait_; }

private:
    bool started_ = false;
    Clock::time_point lastSwap_{};
    int gapsSeen_ = 0;
    int shortGaps_ = 0;
    bool swapsWait_ = true;
};

}  // namespace platform::win32
