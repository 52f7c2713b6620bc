// BMP files, read by the program itself on every system, for untrusted input: every size and
// offset is checked against the file, every palette index against the palette, every run of
// a compressed file against its row. Read: the Windows and OS/2 1.x headers, 1, 4, 8 (with a
// palette, also run-length compressed), 16, 24 and 32 bits a pixel (with colour masks).
#pragma once

#include <cstddef>
#include <string>

class RowReducer;

// The size the header gives; false, and why, when it is no BMP header this reads.
bool ReadBmpSize(const unsigned char* bytes, std::size_t length, int& width, int& height,
                 std::string& why);

// Decodes the pixels into `sink` in the file's row order; false, and why, when the file
// cannot be decoded whole.
bool DecodeBmp(const unsigned char* bytes, std::size_t length, RowReducer& sink, std::string& why);
