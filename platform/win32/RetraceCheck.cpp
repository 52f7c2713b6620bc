#include "platform/win32/RetraceCheck.h"

namespace platform::win32 {

void RetraceCheck::RecordSwap(Clock::time_point now) {
    if (gapsSeen_ >= kGapsToWatch) {
        return;  // judged
    }
    if (started_) {
        ++gapsSeen_;
        if (now - lastSwap_ < kShortestRetrace) {
            ++shortGaps_;
        }
        if (gapsSeen_ == kGapsToWatch) {
            swapsWait_ = 2 * shortGaps_ <= kGapsToWatch;
        }
    }
    started_ = true;
    lastSwap_ = now;
}

}  // namespace platform::win32
