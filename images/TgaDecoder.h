// TGA files, read by the program itself on every system, for untrusted input: every size is
// checked against the file, every colour-map index against the map, every run of a compressed
// file against the image. Read: colour-mapped (8 or 16-bit indices), true-colour (15, 16, 24 and
// 32 bits) and grey (8 bits) images, each also run-length compressed, stored either way up and
// either way across.
#pragma once

#include <cstddef>
#include <string>

class RowReducer;

// The size the header gives; false, and why, when it is no TGA header this reads.
bool ReadTgaSize(const unsigned char* bytes, std::size_t length, int& width, int& height,
                 std::string& why);

// Decodes the pixels into `sink` in the file's row order; false, and why, when the file
// cannot be decoded whole.
bool DecodeTga(const unsigned char* bytes, std::size_t length, RowReducer& sink, std::string& why);
