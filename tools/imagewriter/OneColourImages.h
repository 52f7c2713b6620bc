// Images of one colour at any size, written row by row and compressed as well as their format
// allows: an 8192x8192 PNG takes a few hundred kilobytes, a JPEG about a megabyte. The budget
// tests and the texture benchmarks make their decompression bombs with these (Linux: libpng and
// libjpeg).
#pragma once

#include <string>

struct OneColour {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};

// Each writes `path` whole or returns false (a file half written may remain).
bool WriteOneColourPng(const std::string& path, int width, int height, OneColour colour);
bool WriteOneColourJpeg(const std::string& path, int width, int height, OneColour colour);
