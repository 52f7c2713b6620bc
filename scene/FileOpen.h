// Opening files by UTF-8 path on every system. Paths come from the command line, dropped files
// and model files as UTF-8; Windows' narrow file functions would read them in the ANSI code page.
#pragma once

#include <cstdio>
#include <filesystem>

// std::fopen for reading in binary, the path given in UTF-8.
inline std::FILE* OpenForReading(const char* utf8Path) {
#ifdef _WIN32
    return _wfopen(std::filesystem::u8path(utf8Path).c_str(), L"rb");
#else
    return std::fopen(utf8Path, "rb");
#endif
}

// The path for the standard library's file system functions.
inline std::filesystem::path PathFromUtf8(const char* utf8Path) {
    return std::filesystem::u8path(utf8Path);
}
