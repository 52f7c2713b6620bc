// send-close-request WINDOW_ID: asks a window to close as a window manager's close button does,
// with a WM_DELETE_WINDOW message of the WM_PROTOCOLS kind that leaves the decision to it.
#include <X11/Xlib.h>

#include <cstdlib>

int main(int argc, char** argv) {
    const Window window = argc == 2 ? std::strtoul(argv[1], nullptr, 0) : 0;
    Display* display = window != 0 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) {
        return 2;  // usage: send-close-request WINDOW_ID, with DISPLAY set
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);  // flushes the request
    return sent != 0 ? 0 : 1;
}
