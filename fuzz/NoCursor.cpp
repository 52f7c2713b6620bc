// The one platform call the reader's code path makes (the Scene constructor moves the cursor):
// nothing to move while fuzzing.
#include "platform/Platform.h"

namespace platform {

bool SetCursorScreenPosition(int, int) {
    return false;
}

}  // namespace platform
