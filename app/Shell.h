// The application shell: start-up, the window procedure and the main loop, and the top where
// the options decide which way a run goes (RunOptions.h). The room calls viewer/ to open the
// models the user names, render/ and scene/ for the walk-through as made, cli/ for the command
// line and platform/ for the rest; nothing calls it but the entry points.
#pragma once

#include <cstdint>

#include "app/RunOptions.h"
#include "platform/Platform.h"

class SceneRenderer;

extern std::int32_t g_windowWidth;   // 800 until the first size message
extern std::int32_t g_windowHeight;  // 600 until the first size message; never below 1
extern SceneRenderer* g_renderer;
extern platform::WindowHandle g_hwnd;
extern platform::DeviceContext g_hdc;

// Reads the command line (UTF-8 arguments) and runs as it says: prints the help, the version or
// what is wrong with the usage (status 2), or runs the walk-through.
int RunFromCommandLine(int argc, const char* const* argv);

// Asks for the display mode (or takes it from the options), opens the window, starts the sound
// and runs the main loop. Returns 0 when the loop ends, 1 when the named model cannot be read or
// no window could be opened. The default options are the walk-through's own scene.
int RunWalkthrough(const RunOptions& options = RunOptions());

std::intptr_t MainWindowProc(platform::WindowHandle hwnd, std::uint32_t message,
                             std::uintptr_t wParam, std::intptr_t lParam);

// Dispatches every waiting message; renders a frame whenever none is waiting. Returns when the
// quit message has been seen.
void RunMessageLoop();
