// Presenting a frame in the page: the browser shows the canvas when the program gives it control
// back, so each swap waits for the browser's next frame, no sooner than 1/75 s after the last
// one (the sunrise is timed for 75 steps a second). The page's "frames" parameter stops the
// walk at that frame, for tests and pictures; the frame count is on the page's root element.
#include <emscripten/emscripten.h>

#include "platform/Platform.h"

namespace {

// JavaScript, which clang-format would spoil.
// clang-format off
EM_ASYNC_JS(void, WaitForNextFrame, (), {
    const frame = (Module.framesShown || 0) + 1;
    Module.framesShown = frame;
    document.documentElement.dataset.frame = String(frame);
    const stopAt = Number(new URLSearchParams(location.search).get('frames'));
    if (stopAt > 0 && frame >= stopAt) {
        document.documentElement.dataset.stopped = 'true';
        await new Promise(() => {});
    }
    const shortest = 1000 / 75 - 1;  // a 75 Hz display's frames pass
    await new Promise((resolve) => {
        const step = (now) => {
            if (Module.lastFrameTime === undefined || now - Module.lastFrameTime >= shortest) {
                Module.lastFrameTime = now;
                resolve();
            } else {
                requestAnimationFrame(step);
            }
        };
        requestAnimationFrame(step);
    });
});
// clang-format on

}  // namespace

namespace platform {

bool SwapFrontAndBack(DeviceContext dc) {
    if (dc == nullptr) {
        return false;
    }
    WaitForNextFrame();
    return true;
}

}  // namespace platform
