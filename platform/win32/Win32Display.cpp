// The full-screen display mode and the screen's size.
#include "platform/win32/Win32Internal.h"

namespace platform {

bool ChangeDisplayMode(const DisplayMode& mode) {
    // CDS_FULLSCREEN makes the change last only while the program runs: Windows gives the
    // desktop its own mode back when the program ends.
    DEVMODEA devMode = win32::ToFullScreenDevMode(mode);
    return ChangeDisplaySettingsA(&devMode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

int ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

}  // namespace platform
