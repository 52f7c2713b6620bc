#include "platform/common/FramePacer.h"

#include <thread>

namespace platform {

FramePacer::Clock::duration FramePacer::DelayAfterSwap(Clock::time_point now) {
    if (!started_ || now - nextSlot_ > period_) {
        started_ = true;
        nextSlot_ = now + period_;
        return Clock::duration::zero();
    }
    const Clock::time_point slot = nextSlot_;
    nextSlot_ += period_;
    return now < slot ? slot - now : Clock::duration::zero();
}

void FramePacer::WaitAfterSwap() {
    const Clock::duration delay = DelayAfterSwap(Clock::now());
    if (delay > Clock::duration::zero()) {
        std::this_thread::sleep_for(delay);
    }
}

}  // namespace platform
