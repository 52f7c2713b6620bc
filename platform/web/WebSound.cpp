// Sound in the page: browsers play sound only after the user's first gesture, so the page's
// script plays the file (from beside the page) once the canvas is first clicked.
#include <emscripten/emscripten.h>

#include "platform/Platform.h"

namespace {

EM_JS(void, PlayAfterFirstClick, (const char* name), {
    if (Module.playAfterFirstClick) {
        Module.playAfterFirstClick(UTF8ToString(name));
    }
});

}  // namespace

namespace platform {

void PlaySoundFileAsync(const char* fileName) {
    if (fileName != nullptr && *fileName != '\0') {
        PlayAfterFirstClick(fileName);
    }
}

}  // namespace platform
