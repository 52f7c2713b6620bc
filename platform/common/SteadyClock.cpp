// A steady clock for the backends that have the standard library's: how long things take (a
// model opening), never what the time is.
#include <chrono>

#include "platform/Platform.h"

namespace platform {

std::uint64_t SteadyMilliseconds() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

}  // namespace platform
