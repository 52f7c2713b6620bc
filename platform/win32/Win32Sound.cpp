// The background sound, through the multimedia library.
#include "platform/win32/Win32Internal.h"

// After <windows.h>, which it needs and does not include.
#include <mmsystem.h>

namespace platform {

void PlaySoundFileAsync(const char* fileName) {
    if (fileName == nullptr) {
        return;
    }
    // The name comes in UTF-8; the wide call finds it whatever the ANSI code page. Played
    // once, without waiting; the result is of no use to the caller.
    const std::wstring wideName = win32::WideFromUtf8(fileName);
    PlaySoundW(wideName.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
}

}  // namespace platform
