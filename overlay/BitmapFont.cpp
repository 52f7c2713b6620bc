#include "overlay/BitmapFont.h"

#include <algorithm>
#include <cstring>

namespace {

// The font sheet: blocks of up to 12 glyphs side by side, each 5 columns wide ('#' ink,
// '.' none) and separated by a space; nine rows, the last two below the baseline.
struct SheetBlock {
    const char* characters;  // UTF-8, in the order of the glyphs
    const char* rows[kInkHeight];
};

// clang-format off
constexpr SheetBlock kSheet[] = {
    {" !\"#$%&'()*+",
     {"..... ..#.. .#.#. .#.#. ..#.. ##... .##.. ..#.. ...#. .#... ..... .....",
      "..... ..#.. .#.#. .#.#. .#### ##..# #..#. ..#.. ..#.. ..#.. ..#.. ..#..",
      "..... ..#.. ..... ##### #.#.. ...#. #.#.. .#... .#... ...#. #.#.# ..#..",
      "..... ..#.. ..... .#.#. .###. ..#.. .#... ..... .#... ...#. .###. #####",
      "..... ..#.. ..... ##### ..#.# .#... #.#.# ..... .#... ...#. #.#.# ..#..",
      "..... ..... ..... .#.#. ####. #..## #..#. ..... ..#.. ..#.. ..#.. ..#..",
      "..... ..#.. ..... .#.#. ..#.. ...## .##.# ..... ...#. .#... ..... .....",
      "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
      "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ....."}},
    {",-./01234567",
     {"..... ..... ..... ..... .###. ..#.. .###. ##### ...#. ##### ..##. #####",
      "..... ..... ..... ....# #...# .##.. #...# ...#. ..##. #.... .#... ....#",
      "..... ..... ..... ...#. #..## ..#.. ....# ..#.. .#.#. ####. #.... ...#.",
      "..... .###. ..... ..#.. #.#.# ..#.. ...#. ...#. #..#. ....# ####. ..#..",
      "..... ..... ..... .#... ##..# ..#.. ..#.. ....# ##### ....# #...# .#...",
      "..##. ..... ..##. #.... #...# ..#.. .#... #...# ...#. #...# #...# .#...",
      "..##. ..... ..##. ..... .###. .###. ##### .###. ...#. .###. .###. .#...",
      "...#. ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
      "..#.. ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ....."}},
    {"89:;<=>?@ABC",
     {".###. .###. ..... ..... ...#. ..... .#... .###. .###. .###. ####. .###.",
      "#...# #...# .##.. .##.. ..#.. ..... ..#.. #...# #...# #...# #...# #...#",
      "#...# #...# .##.. .##.. .#... ##### ...#. ....# ....# #...# #...# #....",
      ".###. .#### ..... ..... #.... ..... ....# ...#. .##.# ##### ####. #....",
      "#...# ....# .##.. .##.. .#... ##### ...#. ..#.. #.#.# #...# #...# #....",
      "#...# ...#. .##.. .##.. ..#.. ..... ..#.. ..... #.#.# #...# #...# #...#",
      ".###. .##.. ..... ..#.. ...#. ..... .#... ..#.. .###. #...# ####. .###.",
      "..... ..... ..... .#... ..... ..... ..... ..... ..... ..... ..... .....",
      "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ....."}},
    {"DEFGHIJKLMNO",
     {"###.. ##### ##### .###. #...# .###. ..### #...# #.... #...# #...# .###.",
      "#..#. #.... #.... #...# #...# ..#.. ...#. #..#. #.... ##.## #...# #...#",
      "#...# #.... #.... #.... #...# ..#.. ...#. #.#.. #.... #.#.# ##..# #...#",
      "#...# ####. ####. #.### ##### ..#.. ...#. ##... #.... #.#.# #.#.# #...#",
      "#...# #.... #.... #...# #...# ..#.. ...#. #.#.. #.... #...# #..## #...#",
      "#..#. #.... #.... #...# #...# ..#.. #..#. #..#. #.... #...# #...# #...#",
      "###.. ##### #.... .#### #...# .###. .##.. #...# ##### #...# #...# .###.",
      "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
      "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ....."}},
    {"PQRSTUVWXYZ[",
     {"####. .###. ####. .#### ##### #...# #...# #...# #...# #...# ##### .###.",
      "#...# #...# #...# #.... ..#.. #...# #...# #...# #...# #...# ....# .#...",
      "#...# #...# #...# #.... ..#.. #...# #...# #...# .#.#. .#.#. ...#. .#...",
      "####. #...# ####. .###. ..#.. #...# #...# #.#.# ..#.. ..#.. ..#.. .#...",
      "#.... #.#.# #.#.. ....# ..#.. #...# #...# #.#.# .#.#. ..#.. .#... .#...",
      "#.... #..#. #..#. ....# ..#.. #...# .#.#. #.#.# #...# ..#.. #.... .#...",
      "#.... .##.# #...# ####. ..#.. .###. ..#.. .#.#. #...# ..#.. ##### .###.",
      "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
      "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ....."}},
    {"\\]^_`abcdefg",
     {"..... .###. ..#.. ..... .#... ..... #.... ..... ....# ..... ..##. .....",
      "#.... ...#. .#.#. ..... ..#.. ..... #.... ..... ....# ..... .#..# .....",
      ".#... ...#. #...# ..... ..... .###. #.##. .###. .##.# .###. .#... .####",
      "..#.. ...#. ..... ..... ..... ....# ##..# #.... #..## #...# ###.. #...#",
      "...#. ...#. ..... ..... ..... .#### #...# #.... #...# ##### .#... #...#",
      "....# ...#. ..... ..... ..... #...# #...# #...# #...# #.... .#... #...#",
      "..... .###. ..... ..... ..... .#### ####. .###. .#### .###. .#... .####",
      "..... ..... ..... ##### ..... ..... ..... ..... ..... ..... ..... ....#",
      "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .###."}},
    {"hijklmnopqrs",
     {"#.... ..#.. ...#. #.... .##.. ..... ..... ..... ..... ..... ..... .....",
      "#.... ..... ..... #.... ..#.. ..... ..... ..... ..... ..... ..... .....",
      "#.##. .##.. ..##. #..#. ..#.. ##.#. #.##. .###. ####. .#### #.##. .####",
      "##..# ..#.. ...#. #.#.. ..#.. #.#.# ##..# #...# #...# #...# ##..# #....",
      "#...# ..#.. ...#. ##... ..#.. #.#.# #...# #...# #...# #...# #.... .###.",
      "#...# ..#.. ...#. #.#.. ..#.. #...# #...# #...# #...# #...# #.... ....#",
      "#...# .###. ...#. #..#. .###. #...# #...# .###. ####. .#### #.... ####.",
      "..... ..... #..#. ..... ..... ..... ..... ..... #.... ....# ..... .....",
      "..... ..... .##.. ..... ..... ..... ..... ..... #.... ....# ..... ....."}},
    {"tuvwxyz{|}~←",
     {".#... ..... ..... ..... ..... ..... ..... ...#. ..#.. .#... ..... .....",
      ".#... ..... ..... ..... ..... ..... ..... ..#.. ..#.. ..#.. ..... ..#..",
      "###.. #...# #...# #...# #...# #...# ##### ..#.. ..#.. ..#.. .#... .#...",
      ".#... #...# #...# #...# .#.#. #...# ...#. .#... ..#.. ...#. #.#.# #####",
      ".#... #...# #...# #.#.# ..#.. #...# ..#.. ..#.. ..#.. ..#.. ...#. .#...",
      ".#..# #..## .#.#. #.#.# .#.#. #...# .#... ..#.. ..#.. ..#.. ..... ..#..",
      "..##. .##.# ..#.. .#.#. #...# .#### ##### ...#. ..#.. .#... ..... .....",
      "..... ..... ..... ..... ..... ....# ..... ..... ..... ..... ..... .....",
      "..... ..... ..... ..... ..... .###. ..... ..... ..... ..... ..... ....."}},
    {"↑→↓…°×—�",
     {"..#.. ..... ..#.. ..... .##.. ..... ..... #####",
      ".###. ..#.. ..#.. ..... #..#. #...# ..... #...#",
      "#.#.# ...#. ..#.. ..... #..#. .#.#. ..... #...#",
      "..#.. ##### ..#.. ..... .##.. ..#.. ##### #...#",
      "..#.. ...#. #.#.# ..... ..... .#.#. ..... #...#",
      "..#.. ..#.. .###. ..... ..... #...# ..... #...#",
      "..#.. ..... ..#.. #.#.# ..... ..... ..... #####",
      "..... ..... ..... ..... ..... ..... ..... .....",
      "..... ..... ..... ..... ..... ..... ..... ....."}},
};
// clang-format on

constexpr int kSheetColumnsPerGlyph = kInkWidth + 1;
constexpr char32_t kSolidCharacter = 0x2588;  // FULL BLOCK

// Appends the code point that starts at text[at] to `out` and returns the index after it; a
// byte that starts no well-formed sequence gives the replacement character and moves one byte.
std::size_t DecodeOne(const std::string& text, std::size_t at, std::u32string& out) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        out.push_back(lead);
        return at + 1;
    }
    // The sequences' lengths by their lead byte, the bits the lead gives, the least code point.
    struct Form {
        unsigned char mask, match;
        int length;
        char32_t smallest;
    };
    constexpr Form kForms[] = {
        {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
    int length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    for (const Form& form : kForms) {
        if ((lead & form.mask) == form.match) {
            length = form.length;
            value = lead & static_cast<unsigned char>(~form.mask);
            smallest = form.smallest;
        }
    }
    if (length == 0 || at + static_cast<std::size_t>(length) > text.size()) {
        out.push_back(kReplacementCharacter);
        return at + 1;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            out.push_back(kReplacementCharacter);
            return at + 1;
        }
        value = value << 6 | (next & 0x3Fu);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        out.push_back(kReplacementCharacter);  // overlong, beyond Unicode, or a surrogate
        return at + 1;
    }
    out.push_back(value);
    return at + static_cast<std::size_t>(length);
}

}  // namespace

std::u32string DecodeUtf8(const std::string& text) {
    std::u32string decoded;
    for (std::size_t at = 0; at < text.size();) {
        at = DecodeOne(text, at, decoded);
    }
    return decoded;
}

int TextWidth(const std::string& utf8) {
    return static_cast<int>(DecodeUtf8(utf8).size()) * kGlyphAdvance;
}

BitmapFont::BitmapFont() {
    asciiSlots_.fill(-1);
    for (const SheetBlock& block : kSheet) {
        const std::u32string characters = DecodeUtf8(block.characters);
        for (std::size_t i = 0; i < characters.size(); ++i) {
            Glyph glyph{characters[i], {}};
            const std::size_t left = i * kSheetColumnsPerGlyph;
            for (int y = 0; y < kInkHeight; ++y) {
                const char* row = block.rows[y];
                const std::size_t length = std::strlen(row);
                sheetWellFormed_ = sheetWellFormed_ &&
                                   length + 1 == characters.size() * kSheetColumnsPerGlyph &&
                                   std::strspn(row, ".# ") == length;
                for (int x = 0; x < kInkWidth; ++x) {
                    const std::size_t column = left + static_cast<std::size_t>(x);
                    if (column < length && row[column] == '#') {
                        glyph.rows[static_cast<std::size_t>(y)] |=
                            static_cast<std::uint8_t>(1u << (kInkWidth - 1 - x));
                    }
                }
            }
            if (glyph.codePoint < asciiSlots_.size()) {
                asciiSlots_[glyph.codePoint] = static_cast<int>(glyphs_.size());
            }
            glyphs_.push_back(glyph);
        }
    }
    replacementSlot_ = SlotOf(kReplacementCharacter);
    solidSlot_ = static_cast<int>(glyphs_.size());
    Glyph solid{kSolidCharacter, {}};
    solid.rows.fill((1u << kInkWidth) - 1);
    glyphs_.push_back(solid);
}

int BitmapFont::SlotOf(char32_t codePoint) const {
    if (codePoint < asciiSlots_.size()) {
        return asciiSlots_[codePoint] >= 0 ? asciiSlots_[codePoint] : replacementSlot_;
    }
    for (std::size_t slot = 0; slot < glyphs_.size(); ++slot) {
        if (glyphs_[slot].codePoint == codePoint) {
            return static_cast<int>(slot);
        }
    }
    return replacementSlot_;
}

bool BitmapFont::Has(char32_t codePoint) const {
    return codePoint == kReplacementCharacter || SlotOf(codePoint) != replacementSlot_;
}

bool BitmapFont::Inks(int slot, int x, int y) const {
    if (slot < 0 || static_cast<std::size_t>(slot) >= glyphs_.size() || x < 0 || x >= kInkWidth ||
        y < 0 || y >= kInkHeight) {
        return false;
    }
    const std::uint8_t row =
        glyphs_[static_cast<std::size_t>(slot)].rows[static_cast<std::size_t>(y)];
    return (row >> (kInkWidth - 1 - x) & 1u) != 0;
}

std::vector<std::uint8_t> BitmapFont::AtlasRgba() const {
    std::vector<std::uint8_t> atlas(static_cast<std::size_t>(kAtlasWidth) * kAtlasHeight * 4, 0);
    const auto set = [&atlas](int x, int y) {
        std::uint8_t* texel = &atlas[(static_cast<std::size_t>(y) * kAtlasWidth + x) * 4];
        texel[0] = texel[1] = texel[2] = texel[3] = 255;
    };
    const int slots = std::min(static_cast<int>(glyphs_.size()), kAtlasColumns * kAtlasRows);
    for (int slot = 0; slot < slots; ++slot) {
        const int left = slot % kAtlasColumns * kAtlasSlotWidth;
        const int top = slot / kAtlasColumns * kAtlasSlotHeight;
        for (int y = 0; y < kAtlasSlotHeight; ++y) {
            for (int x = 0; x < kAtlasSlotWidth; ++x) {
                if (slot == solidSlot_ || Inks(slot, x, y - kInkTop)) {
                    set(left + x, top + y);
                }
            }
        }
    }
    return atlas;
}

const BitmapFont& OverlayFont() {
    static const BitmapFont font;
    return font;
}
