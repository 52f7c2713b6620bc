// The start-up question and the warning box, as SDL message boxes. SDL takes UTF-8, which is
// what the seam hands over.
#include <cstdio>

#include "platform/sdl2/Sdl2Internal.h"

namespace platform {

int AskYesNo(const char* text, const char* caption) {
    sdl2::EnsureVideo();  // the box works without it on some systems; try it either way
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kAnswerYes, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kAnswerNo, "No"},
    };
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.title = caption;
    box.message = text;
    box.numbuttons = static_cast<int>(sizeof buttons / sizeof buttons[0]);
    box.buttons = buttons;
    int answer = 0;
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        return 0;  // no box could be shown: not a No
    }
    return answer;  // -1 when the box was closed without a button: not a No either
}

void ShowWarning(const char* text, const char* caption) {
    sdl2::EnsureVideo();
    // A shown main window owns the box, which keeps it in front of a window covering the
    // screen. Before then there is none to own it.
    const WindowTag* window = sdl2::LiveWindow();
    SDL_Window* owner = window != nullptr && window->shown ? window->sdlWindow : nullptr;
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, owner) != 0) {
        // No box without a display: the warning still reaches the user who started the program.
        std::fprintf(stderr, "%s: %s\n", caption != nullptr ? caption : "",
                     text != nullptr ? text : "");
    }
}

}  // namespace platform
