// Extension lists as WGL, EGL and GL give them: names separated by spaces.
#pragma once

#include <cstring>

namespace platform {

// Whether the list names `extension` exactly: a longer name that starts with it does not count.
// A null list names nothing.
inline bool ExtensionListHas(const char* list, const char* extension) {
    if (list == nullptr || extension == nullptr || *extension == '\0') {
        return false;
    }
    const std::size_t length = std::strlen(extension);
    for (const char* at = list; (at = std::strstr(at, extension)) != nullptr; at += length) {
        const bool startsToken = at == list || at[-1] == ' ';
        const bool endsToken = at[length] == ' ' || at[length] == '\0';
        if (startsToken && endsToken) {
            return true;
        }
    }
    return false;
}

}  // namespace platform
