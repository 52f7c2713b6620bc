// The start-up question and the warning box, as SDL message boxes. SDL takes UTF-8, which is
// what the seam hands over.
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
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
}

}  // namespace platform
