// Spaces buffer swaps at least one period apart: movement and animation advance per frame, so
// frames must come no faster on a driver that swaps at once, or on a display that refreshes
// faster, than at 75 Hz. Knows nothing of SDL so that its arithmetic can be checked on its own.
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
