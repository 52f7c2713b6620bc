// The one platform call the reader's code path makes (the Scene constructor moves the cursor),
// for the programs that read models without a window: there is no cursor to move.
#include "platform/Platform.h"

namespace platform {

bool SetCursorScreenPosition(int, int) {
    return false;
}

}  // namespace platform
