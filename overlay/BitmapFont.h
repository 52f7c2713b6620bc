// The overlay's own bitmap font: every printable ASCII character and the few its texts need
// beyond ASCII (the four arrows, the ellipsis, the degree and multiplication signs, the dash), each
// at most 5x9 pixels of ink in a cell of 6x12, drawn from a texture atlas that the font builds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Cell metrics in pixels at scale 1: characters follow each other kGlyphAdvance apart, lines
// kLineHeight apart. The ink of a glyph starts kInkTop below the top of its line; its last two
// rows hang below the baseline (g, j, p, q, y, the comma).
constexpr int kGlyphAdvance = 6;
constexpr int kLineHeight = 12;
constexpr int kInkWidth = 5;
constexpr int kInkHeight = 9;
constexpr int kInkTop = 2;

// The atlas: 16 x 8 slots of 8 x 16 texels, one glyph's cell in the top-left corner of each.
constexpr int kAtlasSlotWidth = 8;
constexpr int kAtlasSlotHeight = 16;
constexpr int kAtlasColumns = 16;
constexpr int kAtlasRows = 8;
constexpr int kAtlasWidth = kAtlasSlotWidth * kAtlasColumns;
constexpr int kAtlasHeight = kAtlasSlotHeight * kAtlasRows;

// A code point the font lacks is drawn as this one, a box.
constexpr char32_t kReplacementCharacter = 0xFFFD;

class BitmapFont {
public:
    BitmapFont();

    // The atlas slot of the glyph for `codePoint`: the replacement glyph's if the font lacks it.
    int SlotOf(char32_t codePoint) const;
    bool Has(char32_t codePoint) const;
    // Whether the glyph in `slot` inks the pixel (x, y) of its ink box (kInkWidth x kInkHeight).
    bool Inks(int slot, int x, int y) const;
    // A slot whose every texel is ink: rectangles are drawn with it, so that text and
    // rectangles share one texture and one block of triangles.
    int SolidSlot() const { return solidSlot_; }
    // kAtlasWidth x kAtlasHeight texels of 4 bytes, rows from the top: white, opaque where ink.
    std::vector<std::uint8_t> AtlasRgba() const;
    // Whether every row of the font's sheet had the length and the characters its glyphs need.
    bool SheetWellFormed() const { return sheetWellFormed_; }

private:
    struct Glyph {
        char32_t codePoint;
        std::array<std::uint8_t, kInkHeight> rows;  // bit 4: the leftmost pixel
    };
    std::vector<Glyph> glyphs_;  // by slot
    int solidSlot_ = 0;
    int replacementSlot_ = 0;
    std::array<int, 128> asciiSlots_;  // -1: none
    bool sheetWellFormed_ = true;
};

// The font, built once.
const BitmapFont& OverlayFont();

// The code points of a UTF-8 text; each byte that starts no well-formed sequence becomes
// kReplacementCharacter.
std::u32string DecodeUtf8(const std::string& text);
// The width of a line of text in pixels at scale 1: kGlyphAdvance per code point.
int TextWidth(const std::string& utf8);
