// The page's program: the walk-through as run without arguments, on the web backend. The page
// puts the sample scene in the working folder as kelm.3ds and answers the full-screen question
// with "windowed"; models picked or dropped in the page open as dropped ones.
#include "app/Shell.h"

int main() {
    static const char* const arguments[] = {"walkthrough"};
    return RunFromCommandLine(1, arguments);
}
