// The headless backend of the seam: no window, no display server and no sound (those calls are
// platform/common/NoWindow.cpp's). Input comes from the script of OffscreenScript.h; the
// rendering context is OffscreenContext.cpp's.
#include "platform/Platform.h"
#include "platform/offscreen/OffscreenScript.h"

namespace platform {
namespace {

// The screen point the camera puts the cursor back to every frame.
constexpr CursorPoint kCursorHome{400, 300};

struct InputState {
    offscreen::InputScript script;
    int frame = 0;  // 0: before the first frame
    CursorPoint cursor = kCursorHome;
};

InputState& Input() {
    static InputState state;
    return state;
}

}  // namespace

namespace offscreen {

void UseScript(const InputScript& script) {
    Input().script = script;
    Input().frame = 0;
}

void BeginFrame(int frame) {
    InputState& input = Input();
    input.frame = frame;
    const CursorPoint offset = input.script.CursorOffset(frame);
    if (offset.x != 0 || offset.y != 0) {
        input.cursor = {kCursorHome.x + offset.x, kCursorHome.y + offset.y};
    }
}

}  // namespace offscreen

bool GetCursorScreenPosition(CursorPoint& point) {
    point = Input().cursor;
    return true;
}

bool SetCursorScreenPosition(int x, int y) {
    Input().cursor = {x, y};
    return true;
}

bool IsKeyHeld(int virtualKey) {
    const InputState& input = Input();
    return input.script.IsHeld(virtualKey, input.frame);
}

}  // namespace platform
