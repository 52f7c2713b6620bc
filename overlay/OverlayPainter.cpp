#include "overlay/OverlayPainter.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <iterator>

#include "overlay/BitmapFont.h"

namespace {

// The switches Begin turns and End turns back, with the setting the overlay draws with.
struct Switch {
    GLenum capability;
    bool overlayOn;
};
constexpr Switch kSwitches[] = {{GL_DEPTH_TEST, false},
                                {GL_LIGHTING, false},
                                {GL_FOG, false},
                                {GL_TEXTURE_2D, true},
                                {GL_BLEND, true}};

void SetSwitch(GLenum capability, bool on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

}  // namespace

int OverlayTextScale(int width, int height) {
    if (width >= 1600 && height >= 1000) {
        return 3;
    }
    return width >= 640 && height >= 400 ? 2 : 1;
}

bool OverlayPainter::Begin() {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] <= 0 || viewport[3] <= 0) {
        return false;
    }
    width_ = viewport[2];
    height_ = viewport[3];
    static_assert(std::size(kSwitches) == kSwitchCount, "one remembered state a switch");
    for (std::size_t i = 0; i < kSwitchCount; ++i) {
        wasOn_[i] = glIsEnabled(kSwitches[i].capability) == GL_TRUE;
    }
    if (texture_ == 0) {
        UploadAtlas();
    }

    // Window pixels from the top-left corner to clip coordinates, as glOrtho(0, width, height,
    // 0, -1, 1) would give; the frame's projection comes back at End.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(-1.0, 1.0, 0.0);
    glScaled(2.0 / width_, -2.0 / height_, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    for (std::size_t i = 0; i < kSwitchCount; ++i) {
        if (wasOn_[i] != kSwitches[i].overlayOn) {
            SetSwitch(kSwitches[i].capability, kSwitches[i].overlayOn);
        }
    }
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_TRIANGLES);
    return true;
}

void OverlayPainter::End() {
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    for (std::size_t i = 0; i < kSwitchCount; ++i) {
        if (wasOn_[i] != kSwitches[i].overlayOn) {
            SetSwitch(kSwitches[i].capability, wasOn_[i]);
        }
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void OverlayPainter::UploadAtlas() {
    GLuint name = 0;
    glGenTextures(1, &name);
    texture_ = name;
    glBindTexture(GL_TEXTURE_2D, texture_);
    // Each texel covers whole window pixels: sampled as it is, the text stays sharp.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    const std::vector<std::uint8_t> atlas = OverlayFont().AtlasRgba();
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, kAtlasWidth, kAtlasHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                      atlas.data());
}

void OverlayPainter::ReleaseTexture() {
    if (texture_ != 0) {
        const GLuint name = texture_;
        glDeleteTextures(1, &name);
        texture_ = 0;
    }
}

void OverlayPainter::Quad(int x, int y, int width, int height, int u, int v, int texelsWide,
                          int texelsHigh) {
    const float x0 = static_cast<float>(x);
    const float y0 = static_cast<float>(y);
    const float x1 = static_cast<float>(x + width);
    const float y1 = static_cast<float>(y + height);
    const float s0 = static_cast<float>(u) / kAtlasWidth;
    const float t0 = static_cast<float>(v) / kAtlasHeight;
    const float s1 = static_cast<float>(u + texelsWide) / kAtlasWidth;
    const float t1 = static_cast<float>(v + texelsHigh) / kAtlasHeight;
    const float corners[6][4] = {{x0, y0, s0, t0}, {x1, y0, s1, t0}, {x1, y1, s1, t1},
                                 {x0, y0, s0, t0}, {x1, y1, s1, t1}, {x0, y1, s0, t1}};
    for (const auto& corner : corners) {
        glTexCoord2f(corner[2], corner[3]);
        glVertex3f(corner[0], corner[1], 0.0f);
    }
}

void OverlayPainter::Fill(const PixelRect& rect, const OverlayColour& colour) {
    if (rect.width <= 0 || rect.height <= 0) {
        return;
    }
    const int slot = OverlayFont().SolidSlot();
    glColor4f(colour.red, colour.green, colour.blue, colour.alpha);
    // The middle texel of the solid slot, whatever the rectangle's size.
    Quad(rect.x, rect.y, rect.width, rect.height,
         slot % kAtlasColumns * kAtlasSlotWidth + kAtlasSlotWidth / 2,
         slot / kAtlasColumns * kAtlasSlotHeight + kAtlasSlotHeight / 2, 0, 0);
}

void OverlayPainter::Outline(const PixelRect& rect, int thickness, const OverlayColour& colour) {
    const int inner = rect.height - 2 * thickness;
    Fill({rect.x, rect.y, rect.width, thickness}, colour);
    Fill({rect.x, rect.y + rect.height - thickness, rect.width, thickness}, colour);
    Fill({rect.x, rect.y + thickness, thickness, inner}, colour);
    Fill({rect.x + rect.width - thickness, rect.y + thickness, thickness, inner}, colour);
}

void OverlayPainter::Text(int x, int y, const std::string& utf8, int scale,
                          const OverlayColour& colour) {
    const BitmapFont& font = OverlayFont();
    glColor4f(colour.red, colour.green, colour.blue, colour.alpha);
    int left = x;
    for (const char32_t codePoint : DecodeUtf8(utf8)) {
        if (codePoint != U' ') {
            const int slot = font.SlotOf(codePoint);
            Quad(left, y, kGlyphAdvance * scale, kLineHeight * scale,
                 slot % kAtlasColumns * kAtlasSlotWidth, slot / kAtlasColumns * kAtlasSlotHeight,
                 kGlyphAdvance, kLineHeight);
        }
        left += kGlyphAdvance * scale;
    }
}
