// Drives the headless backend's input: the script it plays and the frame it has reached.
//
//   platform::offscreen::UseScript(script);
//   for (int frame = 1; frame <= n; ++frame) {
//       platform::offscreen::BeginFrame(frame);
//       renderer.RenderFrame();
//   }
//
// Without a script no key is held and the cursor stays where it was last put, so code that only
// moves the cursor (the model inspector) runs unchanged.
#pragma once

#include "platform/offscreen/InputScript.h"

namespace platform::offscreen {

// Plays `script` from now on; the backend stands before frame 1 again.
void UseScript(const InputScript& script);
// The frame about to be rendered: its held keys apply, and its cursor move, if any, puts the
// cursor at the offset from (400, 300).
void BeginFrame(int frame);

}  // namespace platform::offscreen
