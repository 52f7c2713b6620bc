// The Windows entry point of the GUI-subsystem program. The command line is not used, and
// the window takes the module's instance from GetModuleHandleA, which is this one.
#include <windows.h>

#include "app/Shell.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunWalkthrough();
}
