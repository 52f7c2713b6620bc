// Draws rectangles and text in window pixels on top of whatever the frame drew, with the GL
// 1.1 calls the rest of the program makes: one texture (the font's atlas, sampled GL_NEAREST)
// and one glBegin(GL_TRIANGLES) block for everything between Begin and End, two triangles a
// rectangle or a character. Rectangles sample the atlas's solid slot, so they blend like text.
//
// State: Begin remembers whether the depth test, lighting, fog, texturing and blending are on
// (glIsEnabled), pushes the projection and model-view matrices, and sets its own; End restores
// those five switches and pops both matrices, leaving GL_MODELVIEW the matrix mode, no texture
// bound, and glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA) (what every blend of the program
// uses). The current colour and texture coordinates are left as the last rectangle set them.
#pragma once

#include <array>
#include <string>

// Red, green, blue, opacity, from 0 to 1.
struct OverlayColour {
    float red, green, blue, alpha;
};

// The same colour with its opacity multiplied by `opacity` (a fade).
inline OverlayColour Faded(const OverlayColour& colour, float opacity) {
    return {colour.red, colour.green, colour.blue, colour.alpha * opacity};
}

// A rectangle of window pixels; x to the right and y down from the viewport's top-left corner.
struct PixelRect {
    int x, y, width, height;
};

class OverlayPainter {
public:
    OverlayPainter() = default;
    OverlayPainter(const OverlayPainter&) = delete;
    OverlayPainter& operator=(const OverlayPainter&) = delete;

    // Starts drawing over the current viewport, uploading the font's atlas the first time. False,
    // with nothing changed, when the viewport is empty; then End must not be called.
    bool Begin();
    // The viewport's size in pixels, from Begin.
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Fill(const PixelRect& rect, const OverlayColour& colour);
    // An outline of `thickness` pixels inside `rect`.
    void Outline(const PixelRect& rect, int thickness, const OverlayColour& colour);
    // One line of UTF-8 text with the top of its line at (x, y), each font pixel `scale` x
    // `scale` window pixels.
    void Text(int x, int y, const std::string& utf8, int scale, const OverlayColour& colour);
    // Ends the block of triangles and restores the state Begin changed.
    void End();

    // Deletes the atlas's texture (with its context current); the next Begin uploads it again.
    void ReleaseTexture();
    // The context that held the texture is gone: the next Begin uploads it again.
    void ForgetTexture() { texture_ = 0; }

private:
    // One quad of window pixels showing the atlas texels from (u, v), `texels` wide and high.
    void Quad(int x, int y, int width, int height, int u, int v, int texelsWide, int texelsHigh);
    void UploadAtlas();

    unsigned texture_ = 0;
    int width_ = 0;
    int height_ = 0;
    // Whether each switch Begin turns (OverlayPainter.cpp) was on before.
    static constexpr std::size_t kSwitchCount = 5;
    std::array<bool, kSwitchCount> wasOn_{};
};

// The scale of overlay text for a viewport: 1, 2 from 640 x 400 pixels, 3 from 1600 x 1000.
int OverlayTextScale(int width, int height);
