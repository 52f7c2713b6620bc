// Letter case as 3DS files and the file systems beside them know it: ASCII letters folded to
// lower case, every other byte (UTF-8 among them) as it stands.
#pragma once

#include <string>

inline std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}
