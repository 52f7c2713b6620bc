// Reading the frame just drawn, for a screenshot: the back buffer over the viewport, read
// before the buffer swap (after it, the back buffer's contents are undefined).
#pragma once

#include <cstdint>
#include <vector>

// The viewport's pixels as 8-bit RGB, three bytes a pixel, rows from the top (as a picture file
// holds them). False, with `rgb` empty, when the viewport is empty.
bool ReadFrameRgb(std::vector<std::uint8_t>& rgb, int& width, int& height);
