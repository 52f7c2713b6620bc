// What is drawn on top of a frame, as the GL recorder sees it: the font covers every text, the
// card and the bar draw whole triangles inside the window, the bar fills in proportion, the fading
// follows the frames and then nothing is drawn, and the GL state (switches and matrices) is as it
// was before.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "overlay/BitmapFont.h"
#include "overlay/FrameOverlay.h"
#include "platform/fake/FakePlatform.h"
#include "render/FrameCapture.h"
#include "tests/support/CallChecks.h"
#include "tests/support/GlRecorder.h"

namespace {

// One rectangle or character drawn: the box around its six corners.
struct DrawnQuad {
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
};

// The quads of the recorded calls, checking on the way that every glBegin of triangles has its
// glEnd and holds whole quads.
std::vector<DrawnQuad> DrawnQuads() {
    std::vector<DrawnQuad> quads;
    int corners = 0;
    bool inBlock = false;
    for (const fake::Call& call : fake::CallLog()) {
        if (call.name == "glBegin" || call.name == "glEnd") {
            EXPECT_NE(inBlock, call.name == "glBegin") << call.name << " out of place";
            EXPECT_TRUE(call.name == "glEnd" || call.args[0] == GL_TRIANGLES);
            EXPECT_EQ(corners % 6, 0) << "a quad left unfinished";
            inBlock = call.name == "glBegin";
        } else if (call.name == "glVertex3f") {
            EXPECT_TRUE(inBlock) << "a vertex outside glBegin and glEnd";
            if (corners++ % 6 == 0) {
                quads.emplace_back();
            }
            DrawnQuad& quad = quads.back();
            quad.left = std::min(quad.left, call.args[0]);
            quad.right = std::max(quad.right, call.args[0]);
            quad.top = std::min(quad.top, call.args[1]);
            quad.bottom = std::max(quad.bottom, call.args[1]);
        }
    }
    EXPECT_FALSE(inBlock) << "a glBegin without its glEnd";
    return quads;
}

void StartFrame(int width, int height) {
    fake::Reset();
    glViewport(0, 0, width, height);
}

int InkedCharacters(const std::string& text) {
    const std::u32string decoded = DecodeUtf8(text);
    return static_cast<int>(decoded.size() - std::count(decoded.begin(), decoded.end(), U' '));
}

TEST(OverlayFont, HasEveryPrintableAsciiCharacterAndEveryCharacterOfTheCardEachItsOwnGlyph) {
    const BitmapFont& font = OverlayFont();
    EXPECT_TRUE(font.SheetWellFormed());
    std::u32string used;
    for (char32_t c = 32; c < 127; ++c) {
        used.push_back(c);
    }
    for (const KeyCardRow& row : kKeyCardRows) {
        used += DecodeUtf8(row.keys) + DecodeUtf8(row.action);
    }
    used += DecodeUtf8(std::string(kKeyCardTitle) + "…°×—");
    std::map<std::vector<bool>, char32_t> inkOf;
    for (const char32_t c : used) {
        EXPECT_TRUE(font.Has(c)) << "U+" << std::hex << static_cast<unsigned>(c);
        std::vector<bool> ink;
        for (int i = 0; i < kInkWidth * kInkHeight; ++i) {
            ink.push_back(font.Inks(font.SlotOf(c), i % kInkWidth, i / kInkWidth));
        }
        const auto [other, added] = inkOf.emplace(ink, c);
        EXPECT_TRUE(added || other->second == c)
            << "U+" << std::hex << static_cast<unsigned>(c) << " looks like U+"
            << static_cast<unsigned>(other->second);
    }
    EXPECT_FALSE(font.Has(U'\x7F'));
    EXPECT_EQ(font.SlotOf(U'\x7F'), font.SlotOf(kReplacementCharacter));
}

TEST(OverlayFont, MalformedUtf8BecomesOneReplacementPerByte) {
    const struct {
        std::string text;
        std::u32string expected;
    } cases[] = {
        {"a\xE2\x86\x91z", U"a\u2191z"},
        {"\xC0\xAF", U"\uFFFD\uFFFD"},                      // an overlong '/'
        {"\xED\xA0\x80!", U"\uFFFD\uFFFD\uFFFD!"},          // a surrogate
        {"\xE2\x86", U"\uFFFD\uFFFD"},                      // cut short
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"\xF0\x9F\x98\x80", U"\U0001F600"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeUtf8(c.text), c.expected) << c.text;
    }
}

TEST(Overlay, TheCardIsOnePanelAndOneQuadACharacterInsideTheWindowAtEverySize) {
    for (const auto& [width, height] : {std::pair{800, 600}, {320, 240}, {1920, 1080}}) {
        for (const bool walking : {false, true}) {
            StartFrame(width, height);
            FrameOverlay overlay;
            overlay.card.SetWalking(walking);
            overlay.card.Toggle();
            overlay.Draw();
            const std::vector<DrawnQuad> quads = DrawnQuads();
            int characters = InkedCharacters(kKeyCardTitle);
            std::multiset<std::string> keys;
            for (const KeyCardRow& row : overlay.card.Rows()) {
                characters += InkedCharacters(row.keys) + InkedCharacters(row.action);
                keys.insert(row.keys);
            }
            // Page Up and Page Down say what they do either way; G only once walking exists.
            EXPECT_EQ(keys.count("Page Up") + keys.count("F1") + keys.count("Escape"), 3u);
            EXPECT_EQ(keys.count("G"), walking ? 1u : 0u);
            ASSERT_EQ(quads.size(), 1u + characters) << width << "x" << height;
            const DrawnQuad& panel = quads.front();
            EXPECT_GE(panel.left, 0);
            EXPECT_GE(panel.top, 0);
            EXPECT_LE(panel.right, width);
            EXPECT_LE(panel.bottom, height);
            EXPECT_NEAR(panel.left + panel.right, width, 1.0) << "centred";
            for (const DrawnQuad& quad : quads) {
                EXPECT_TRUE(quad.left >= panel.left && quad.right <= panel.right &&
                            quad.top >= panel.top && quad.bottom <= panel.bottom);
            }
        }
    }
}

// The bar's last quad is its filled part, inside the frame its four quads before make.
TEST(Overlay, TheBarIsFilledInProportionToTheFractionClampedToZeroToOne) {
    const auto filledWidth = [](double fraction) {
        StartFrame(800, 600);
        FrameOverlay overlay;
        overlay.progress.Show("Textures 3 of 10", fraction);
        overlay.Draw();
        const std::vector<DrawnQuad> quads = DrawnQuads();
        const std::size_t frameQuads = 1 + InkedCharacters("Textures 3 of 10");
        EXPECT_GE(quads.size(), frameQuads + 4);
        if (quads.size() == frameQuads + 4) {
            return 0.0;  // nothing filled
        }
        const DrawnQuad& fill = quads.back();
        const DrawnQuad& top = quads[frameQuads];
        EXPECT_TRUE(fill.left > top.left && fill.right < top.right) << fraction;
        return fill.right - fill.left;
    };
    const double whole = filledWidth(1.0);
    EXPECT_GT(whole, 100.0);
    for (const double fraction : {0.0, 0.01, 0.25, 0.5, 0.999}) {
        EXPECT_NEAR(filledWidth(fraction), fraction * whole, 0.5) << fraction;
    }
    EXPECT_EQ(filledWidth(1.5), whole);
    EXPECT_EQ(filledWidth(-1.0), 0.0);
    EXPECT_EQ(filledWidth(std::nan("")), 0.0);
}

TEST(Overlay, ATimedCardAndNoticeShowTheirFramesAndFadeOutOverTheLastOnes) {
    StartFrame(800, 600);
    FrameOverlay overlay;
    overlay.card.ShowFor(100);
    overlay.notice.ShowFor("Saved", 40);
    std::vector<double> cardOpacity;
    int noticeFrames = 0;
    while (overlay.Showing()) {
        fake::CallLog().clear();
        overlay.Draw();
        cardOpacity.push_back(fake::CallsNamed("glColor4f").front().args[3]);
        noticeFrames += overlay.notice.Showing();
        overlay.AdvanceFrame();
    }
    ASSERT_EQ(cardOpacity.size(), 100u);
    EXPECT_EQ(noticeFrames, 40);
    EXPECT_EQ(cardOpacity.front(), cardOpacity[100 - kFadeFrames]);
    EXPECT_TRUE(std::is_sorted(cardOpacity.rbegin(), cardOpacity.rend()));
    EXPECT_GT(cardOpacity.back(), 0.0);
    EXPECT_LT(cardOpacity.back(), cardOpacity.front() / kFadeFrames * 1.01);
    fake::CallLog().clear();
    overlay.Draw();
    EXPECT_TRUE(fake::CallLog().empty()) << "nothing showing draws nothing";

    overlay.card.Toggle();  // shown until F1 again
    for (int frame = 0; frame < 1000; ++frame) {
        overlay.AdvanceFrame();
    }
    EXPECT_TRUE(overlay.card.Showing());
    overlay.card.Toggle();
    EXPECT_FALSE(overlay.Showing());
}

// The projection and model-view matrices as the recorded matrix calls leave them: the calls
// that made each matrix, in order, replayed with the matrix stacks.
std::map<double, std::vector<std::string>> ReplayedMatrices() {
    std::map<double, std::vector<std::vector<std::string>>> stacks{{GL_MODELVIEW, {{}}},
                                                                   {GL_PROJECTION, {{}}}};
    double mode = GL_MODELVIEW;
    for (const fake::Call& call : fake::CallLog()) {
        auto& stack = stacks[mode];
        if (call.name == "glMatrixMode") {
            mode = call.args[0];
        } else if (call.name == "glLoadIdentity") {
            stack.back().clear();
        } else if (call.name == "glPushMatrix") {
            stack.push_back(stack.back());
        } else if (call.name == "glPopMatrix") {
            EXPECT_GT(stack.size(), 1u) << "a pop of the last matrix";
            if (stack.size() > 1) {
                stack.pop_back();
            }
        } else if (call.name.rfind("glTranslate", 0) == 0 || call.name.rfind("glScale", 0) == 0 ||
                   call.name == "gluPerspective" || call.name == "gluLookAt") {
            stack.back().push_back(CallLine(call.name, call.args));
        }
    }
    EXPECT_EQ(stacks[GL_MODELVIEW].size(), 1u);
    EXPECT_EQ(stacks[GL_PROJECTION].size(), 1u);
    return {{GL_MODELVIEW, stacks[GL_MODELVIEW].back()},
            {GL_PROJECTION, stacks[GL_PROJECTION].back()},
            {-1, {std::to_string(mode)}}};
}

TEST(Overlay, LeavesTheSwitchesTheMatricesAndTheMatrixModeAsTheFrameSetThem) {
    const GLenum switches[] = {GL_DEPTH_TEST, GL_LIGHTING, GL_FOG, GL_TEXTURE_2D, GL_BLEND};
    for (unsigned on = 0; on < 32; ++on) {
        StartFrame(800, 600);
        for (unsigned i = 0; i < 5; ++i) {
            ((on >> i & 1u) != 0 ? glEnable : glDisable)(switches[i]);
        }
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 800.0 / 600.0, 0.1, 3000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(0, 15, 3, 0, 14, 3, 0, 0, 1);
        const auto before = ReplayedMatrices();

        FrameOverlay overlay;
        overlay.card.Toggle();
        overlay.progress.Show("Laying out", 0.5);
        overlay.notice.ShowFor("Saved", 10);
        overlay.Draw();
        EXPECT_EQ(ReplayedMatrices(), before) << on;
        for (unsigned i = 0; i < 5; ++i) {
            EXPECT_EQ(glIsEnabled(switches[i]), (on >> i & 1u) != 0 ? GL_TRUE : GL_FALSE)
                << "switch " << i << " of " << on;
        }
    }
}

TEST(Overlay, TheFontTextureIsUploadedOnceSharpAndAgainOnlyAfterItWasReleased) {
    StartFrame(800, 600);
    FrameOverlay overlay;
    overlay.card.Toggle();
    overlay.Draw();
    overlay.Draw();
    EXPECT_EQ(fake::CallsNamed("glGenTextures").size(), 1u);
    EXPECT_EQ(fake::CallsNamed("gluBuild2DMipmaps").size(), 1u);
    const std::set<std::string> filters = {
        CallLine("glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST}),
        CallLine("glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST})};
    for (const fake::Call& call : fake::CallsNamed("glTexParameteri")) {
        EXPECT_EQ(filters.count(CallLine(call.name, call.args)), 1u);
    }
    overlay.ReleaseTexture();
    EXPECT_EQ(fake::CallsNamed("glDeleteTextures").size(), 1u);
    overlay.Draw();
    EXPECT_EQ(fake::CallsNamed("glGenTextures").size(), 2u);
}

TEST(FrameCapture, ReadsTheViewportPackedWithTheTopRowFirst) {
    StartFrame(5, 3);  // rows of 15 bytes: GL would pad them to 16 unless told not to
    std::vector<std::uint8_t> rgb;
    int width = 0;
    int height = 0;
    ASSERT_TRUE(ReadFrameRgb(rgb, width, height));
    ASSERT_EQ(width, 5);
    ASSERT_EQ(height, 3);
    ASSERT_EQ(rgb.size(), 45u);
    for (int row = 0; row < 3; ++row) {
        for (int x = 0; x < 5; ++x) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(rgb[static_cast<std::size_t>((row * 5 + x) * 3 + c)],
                          fake::RecordedPixelByte(x, 2 - row, c));
            }
        }
    }
    StartFrame(0, 0);
    EXPECT_FALSE(ReadFrameRgb(rgb, width, height));
    EXPECT_TRUE(rgb.empty());
}

}  // namespace
