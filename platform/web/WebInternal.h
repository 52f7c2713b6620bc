// What the files of the web backend share: the one window's procedure and its message queue.
#pragma once

#include "platform/Platform.h"

namespace platform::web {

// Queues a message for the main window (drops, quit).
void PostToWindow(std::uint32_t id, std::uintptr_t wParam, std::intptr_t lParam);
// Starts listening to the keys and the mouse; pointer lock on a click on the canvas.
void ListenToInput();

// The canvas the page draws on, and the screen it stands for: the window's client area.
constexpr const char* kCanvas = "#canvas";
constexpr CursorPoint kPointerHome{400, 300};

}  // namespace platform::web
