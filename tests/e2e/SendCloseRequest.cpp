// Asks a window to close the way a window manager does when its close button is clicked: a
// WM_DELETE_WINDOW message of the WM_PROTOCOLS kind, which leaves the decision to the program.
//   send-close-request WINDOW_ID
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const unsigned long window = argc == 2 ? std::strtoul(argv[1], nullptr, 0) : 0;
    Display* display = window != 0 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) {
        std::fprintf(stderr, "usage: send-close-request WINDOW_ID, with DISPLAY set\n");
        return 2;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}
