#include "render/FrameCapture.h"

#include <GL/gl.h>

#include <cstring>

bool ReadFrameRgb(std::vector<std::uint8_t>& rgb, int& width, int& height) {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    rgb.clear();
    if (viewport[2] <= 0 || viewport[3] <= 0) {
        return false;
    }
    width = viewport[2];
    height = viewport[3];
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::size_t rows = static_cast<std::size_t>(height);
    std::vector<std::uint8_t> bottomFirst(rowBytes * rows);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);  // rows of any width, packed
    glReadPixels(viewport[0], viewport[1], width, height, GL_RGB, GL_UNSIGNED_BYTE,
                 bottomFirst.data());
    rgb.resize(bottomFirst.size());
    for (std::size_t row = 0; row < rows; ++row) {
        std::memcpy(rgb.data() + row * rowBytes, bottomFirst.data() + (rows - 1 - row) * rowBytes,
                    rowBytes);
    }
    return true;
}
