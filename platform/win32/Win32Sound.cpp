// The background sound, through the multimedia library.
#include "platform/win32/Win32Internal.h"

// After <windows.h>, which it needs and does not include.
#include <mmsystem.h>

namespace platform {

void PlaySoundFileAsync(const char* fileName) {
    // Played once, without waiting; the result is of no use to the caller.
    PlaySoundA(fileName, nullptr, SND_FILENAME | SND_ASYNC);
}

}  // namespace platform
