// Keys and the mouse of the web backend. The browser's key codes are the seam's virtual-key
// codes. The mouse looks only while the canvas holds the pointer (a click takes it, Escape gives
// it back, as browsers require); its movements add up to a cursor that the camera reads and puts
// back at the centre every frame. Escape is the browser's, so it never reaches the program.
#include <emscripten/html5.h>

#include <bitset>

#include "platform/web/WebInternal.h"

namespace platform {
namespace {

struct InputState {
    std::bitset<256> held;
    bool focused = true;
    CursorPoint cursor = web::kPointerHome;
};

InputState& Input() {
    static InputState state;
    return state;
}

bool IsWalkKey(unsigned long code) {
    switch (code) {
        case kKeyShift:
        case kKeyPageUp:
        case kKeyPageDown:
        case kKeyLeft:
        case kKeyUp:
        case kKeyRight:
        case kKeyDown:
        case kKeyA:
        case kKeyD:
        case kKeyG:
        case kKeyF1:
        case kKeyF12:
        case kKeyS:
        case kKeyW:
            return true;
        default:
            return false;
    }
}

// Returns whether the page's own use of the key (scrolling) is to be prevented.
EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
    const unsigned long code = event->keyCode;
    if (!IsWalkKey(code)) {
        return EM_FALSE;
    }
    Input().held[code] = eventType == EMSCRIPTEN_EVENT_KEYDOWN;
    // Keys that act when let go reach the window as key-up messages, as on the desktop.
    if (eventType == EMSCRIPTEN_EVENT_KEYUP &&
        (code == kKeyG || code == kKeyF1 || code == kKeyF12)) {
        web::PostToWindow(kMessageKeyUp, code, 0);
    }
    return EM_TRUE;
}

// Keys held when the page lost the focus count as released.
EM_BOOL OnFocus(int eventType, const EmscriptenFocusEvent*, void*) {
    Input().focused = eventType == EMSCRIPTEN_EVENT_FOCUS;
    Input().held.reset();
    return EM_FALSE;
}

EM_BOOL OnMouseMove(int, const EmscriptenMouseEvent* event, void*) {
    EmscriptenPointerlockChangeEvent lock;
    if (emscripten_get_pointerlock_status(&lock) == EMSCRIPTEN_RESULT_SUCCESS && lock.isActive) {
        Input().cursor.x += static_cast<int>(event->movementX);
        Input().cursor.y += static_cast<int>(event->movementY);
    }
    return EM_FALSE;
}

EM_BOOL OnCanvasClick(int, const EmscriptenMouseEvent*, void*) {
    emscripten_request_pointerlock(web::kCanvas, EM_TRUE);
    return EM_FALSE;
}

}  // namespace

namespace web {

void ListenToInput() {
    const char* document = EMSCRIPTEN_EVENT_TARGET_DOCUMENT;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(document, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(document, nullptr, EM_TRUE, OnKey);
    emscripten_set_focus_callback(window, nullptr, EM_TRUE, OnFocus);
    emscripten_set_blur_callback(window, nullptr, EM_TRUE, OnFocus);
    emscripten_set_mousemove_callback(document, nullptr, EM_TRUE, OnMouseMove);
    emscripten_set_click_callback(kCanvas, nullptr, EM_TRUE, OnCanvasClick);
}

}  // namespace web

bool WindowHasInputFocus() {
    return Input().focused;
}

bool GetPointerHome(CursorPoint& home) {
    home = web::kPointerHome;
    return true;
}

bool GetCursorScreenPosition(CursorPoint& point) {
    point = Input().cursor;
    return true;
}

bool SetCursorScreenPosition(int x, int y) {
    Input().cursor = {x, y};
    return true;
}

// The pointer is hidden while the canvas holds it.
void SetCursorVisible(bool) {}

bool IsKeyHeld(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256 &&
           Input().held[static_cast<std::size_t>(virtualKey)];
}

}  // namespace platform
