// The page's program: the walk-through as run without arguments, on the web backend. The page
// puts the sample scene in the working folder as kelm.3ds and answers the full-screen question
// with "windowed"; models picked or dropped in the page open as dropped ones, turned upright
// when the page's address asks for it (?up=y, as --up y does).
#include <emscripten/emscripten.h>

#include "app/Shell.h"

namespace {

// clang-format off
EM_JS(int, PageAsksForYUp, (), {
    return new URLSearchParams(location.search).get('up') === 'y' ? 1 : 0;
});
// clang-format on

}  // namespace

int main() {
    static const char* const arguments[] = {"walkthrough"};
    const ParsedCommandLine<RunOptions> parsed = ParseRunCommandLine(1, arguments);
    RunOptions options = parsed.options;
    if (PageAsksForYUp() != 0) {
        options.droppedUp = UpAxis::kY;
    }
    return RunWalkthrough(options);
}
