// Spaces buffer swaps at least one period apart, as a display's retrace would, for drivers
// that swap at once. Knows nothing of SDL so that its arithmetic can be checked on its own.
#pragma once

#include <chrono>

namespace platform {

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    // 75 swaps a second: the refresh rate the full-screen mode asks for.
    static constexpr Clock::duration kDefaultPeriod =
        std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(1000000000 / 75));

    explicit FramePacer(Clock::duration period = kDefaultPeriod) : period_(period) {}

    // How long a swap that finished at `now` must be held back. A swap that comes late does
    // not earn a burst of quick ones: after a stall of more than one period the schedule
    // starts again from `now`.
    Clock::duration DelayAfterSwap(Clock::time_point now);
    // Sleeps for DelayAfterSwap(Clock::now()).
    void WaitAfterSwap();

private:
    Clock::duration period_;
    Clock::time_point nextSlot_{};
    bool started_ = false;
};

}  // namespace platform
