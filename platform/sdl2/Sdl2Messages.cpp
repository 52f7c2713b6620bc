// The message queue: SDL's events become window messages, pulled in on every peek and remove.
#include <algorithm>
#include <deque>
#include <vector>

#include "platform/sdl2/Sdl2Internal.h"

namespace platform::sdl2 {
namespace {

std::deque<Message> g_queue;
// Keys pressed while the window had the focus and not yet released. A release counts only for
// a key in here.
std::vector<SDL_Scancode> g_keysDown;

bool IsFocusLost(const SDL_Event& event) {
    return event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST;
}

// SDL releases every held key when the window loses the focus, and queues those releases
// right before the focus-lost event. A release followed by nothing but more releases and then
// the loss of focus is one of them.
bool IsReleaseOnFocusLoss(const std::vector<SDL_Event>& events, std::size_t index) {
    for (std::size_t next = index + 1; next < events.size(); ++next) {
        if (IsFocusLost(events[next])) {
            return true;
        }
        if (events[next].type != SDL_KEYUP) {
            return false;
        }
    }
    return SDL_GetKeyboardFocus() == nullptr;  // the focus-lost event may still be in SDL
}

void QueueKeyMessage(WindowTag& window, std::uint32_t id, int virtualKey, SDL_Scancode scancode) {
    Message message;
    message.window = &window;
    message.id = id;
    message.wParam = static_cast<std::uintptr_t>(virtualKey);
    // As Win32 packs it: repeat count 1, the scan code, and for a release the previous-state
    // and transition bits.
    std::uint32_t bits = 1u | (static_cast<std::uint32_t>(scancode) & 0xFFu) << 16;
    if (id == kMessageKeyUp) {
        bits |= 0xC0000000u;
    }
    message.lParam = static_cast<std::intptr_t>(bits);
    QueueMessage(message);
}

void TranslateKey(const std::vector<SDL_Event>& events, std::size_t index, WindowTag& window) {
    const SDL_KeyboardEvent& key = events[index].key;
    const SDL_Scancode scancode = key.keysym.scancode;
    const int virtualKey = VirtualKeyFromScancode(scancode);
    if (virtualKey == 0) {
        return;
    }
    const auto held = std::find(g_keysDown.begin(), g_keysDown.end(), scancode);
    if (key.type == SDL_KEYDOWN) {
        if (held == g_keysDown.end()) {
            g_keysDown.push_back(scancode);
        }
        QueueKeyMessage(window, kMessageKeyDown, virtualKey, scancode);
        return;
    }
    if (held == g_keysDown.end()) {
        return;  // pressed elsewhere, released here
    }
    g_keysDown.erase(held);
    if (!IsReleaseOnFocusLoss(events, index)) {
        QueueKeyMessage(window, kMessageKeyUp, virtualKey, scancode);
    }
}

void TranslateWindowEvent(const SDL_WindowEvent& event, WindowTag& window) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE: {
            Message message;
            message.window = &window;
            message.id = kMessageClose;
            QueueMessage(message);
            break;
        }
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
            QueueSizeIfChanged(window);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            g_keysDown.clear();
            break;
        default:
            break;
    }
}

// A dropped file becomes a drop message to the window it was dropped on; SDL's copy of the path
// is freed either way.
void TranslateDrop(const SDL_DropEvent& drop) {
    WindowTag* window = drop.windowID != 0 ? WindowFromSdlId(drop.windowID) : LiveWindow();
    if (window != nullptr && drop.file != nullptr) {
        Message message;
        message.window = window;
        message.id = kMessageDropFiles;
        message.wParam = KeepDroppedFile(drop.file);
        QueueMessage(message);
    }
    SDL_free(drop.file);
}

void Translate(const std::vector<SDL_Event>& events, std::size_t index) {
    const SDL_Event& event = events[index];
    switch (event.type) {
        case SDL_WINDOWEVENT:
            if (WindowTag* window = WindowFromSdlId(event.window.windowID)) {
                TranslateWindowEvent(event.window, *window);
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            // Keys typed before SDL has settled the keyboard focus come without a window; X
            // sends keys only to the focused window, so they are the main window's.
            if (WindowTag* window =
                    event.key.windowID != 0 ? WindowFromSdlId(event.key.windowID) : LiveWindow()) {
                TranslateKey(events, index, *window);
            }
            break;
        case SDL_DROPFILE:
            TranslateDrop(event.drop);
            break;
        case SDL_DROPTEXT:
            SDL_free(event.drop.file);  // dropped text has no meaning here
            break;
        case SDL_QUIT:
            // Only the system asks this way (Ctrl+C, kill, the session ending); closing the
            // window comes as a window event. Either way the window is asked to close.
            if (WindowTag* window = LiveWindow()) {
                Message message;
                message.window = window;
                message.id = kMessageClose;
                QueueMessage(message);
            }
            break;
        default:
            break;
    }
}

void PumpSdlEvents() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return;
    }
    SDL_PumpEvents();
    std::vector<SDL_Event> events;
    SDL_Event batch[64];
    int count = 0;
    while ((count = SDL_PeepEvents(batch, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
        events.insert(events.end(), batch, batch + count);
    }
    for (std::size_t index = 0; index < events.size(); ++index) {
        Translate(events, index);
    }
    if (WindowTag* window = LiveWindow()) {
        ContinueFrameFit(*window);
    }
}

}  // namespace

void QueueMessage(const Message& message) {
    g_queue.push_back(message);
}

}  // namespace platform::sdl2

namespace platform {

using namespace sdl2;

bool PeekWaitingMessage(Message& message) {
    PumpSdlEvents();
    if (g_queue.empty()) {
        return false;
    }
    message = g_queue.front();
    return true;
}

bool RemoveWaitingMessage(Message& message) {
    PumpSdlEvents();
    if (g_queue.empty()) {
        return false;
    }
    message = g_queue.front();
    g_queue.pop_front();
    return true;
}

void TranslateKeyMessage(const Message&) {
    // No character messages: nothing in the program reads text.
}

std::intptr_t DispatchToWindow(const Message& message) {
    if (!IsLiveWindow(message.window)) {
        return 0;  // thread messages, such as quit, and messages of a destroyed window
    }
    return message.window->procedure(message.window, message.id, message.wParam, message.lParam);
}

void PostQuit(int exitCode) {
    Message message;
    message.id = kMessageQuit;
    message.wParam = static_cast<std::uintptr_t>(exitCode);
    QueueMessage(message);
}

}  // namespace platform
