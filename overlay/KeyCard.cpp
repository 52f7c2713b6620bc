#include "overlay/KeyCard.h"

#include <algorithm>

#include "overlay/BitmapFont.h"

const char* const kKeyCardTitle = "Keys";

const std::vector<KeyCardRow> kKeyCardRows = {
    {"Mouse", "look around", KeyCardRowShown::kAlways},
    {"W  \u2191", "walk forward", KeyCardRowShown::kAlways},
    {"S  \u2193", "walk back", KeyCardRowShown::kAlways},
    {"A  D", "step left, right", KeyCardRowShown::kAlways},
    {"\u2190  \u2192", "turn left, right", KeyCardRowShown::kAlways},
    {"Page Up", "raise the eye", KeyCardRowShown::kWithoutWalking},
    {"Page Down", "lower the eye", KeyCardRowShown::kWithoutWalking},
    {"Page Up", "fly up; walking: jump", KeyCardRowShown::kWithWalking},
    {"Page Down", "fly down; walking: crouch", KeyCardRowShown::kWithWalking},
    {"G", "walk / fly", KeyCardRowShown::kWithWalking},
    {"Shift", "held: four times as fast", KeyCardRowShown::kAlways},
    {"F1", "show or hide these keys", KeyCardRowShown::kAlways},
    {"F12", "save a screenshot", KeyCardRowShown::kAlways},
    {"Escape", "quit", KeyCardRowShown::kAlways},
};

namespace {

constexpr OverlayColour kPanel{0.0f, 0.0f, 0.0f, 0.72f};
constexpr OverlayColour kTitle{1.0f, 1.0f, 1.0f, 1.0f};
constexpr OverlayColour kKeyText{1.0f, 0.82f, 0.35f, 1.0f};
constexpr OverlayColour kActionText{0.88f, 0.88f, 0.88f, 1.0f};

// Margins and gaps, in characters at scale 1.
constexpr int kMarginCharacters = 2;
constexpr int kColumnGapCharacters = 3;

}  // namespace

void KeyCard::Toggle() {
    if (time_.Showing()) {
        time_.Hide();
    } else {
        time_.ShowUntilHidden();
    }
}

std::vector<KeyCardRow> KeyCard::Rows() const {
    std::vector<KeyCardRow> rows;
    for (const KeyCardRow& row : kKeyCardRows) {
        if (row.shown == KeyCardRowShown::kAlways ||
            (row.shown == KeyCardRowShown::kWithWalking) == walking_) {
            rows.push_back(row);
        }
    }
    return rows;
}

void KeyCard::Draw(OverlayPainter& painter) const {
    if (!time_.Showing()) {
        return;
    }
    const std::vector<KeyCardRow> rows = Rows();
    int keysWidth = 0;
    int actionsWidth = TextWidth(kKeyCardTitle);
    for (const KeyCardRow& row : rows) {
        keysWidth = std::max(keysWidth, TextWidth(row.keys));
        actionsWidth = std::max(actionsWidth, TextWidth(row.action));
    }
    const int margin = kMarginCharacters * kGlyphAdvance;
    const int actionsLeft = keysWidth + kColumnGapCharacters * kGlyphAdvance;
    const int width = 2 * margin + actionsLeft + actionsWidth;
    // The title, a blank line, the rows; a margin of one line above and below.
    const int lines = static_cast<int>(rows.size()) + 2;
    const int height = (lines + 2) * kLineHeight;

    // As large as the window allows, down to scale 1.
    int scale = OverlayTextScale(painter.Width(), painter.Height());
    while (scale > 1 && (width * scale > painter.Width() || height * scale > painter.Height())) {
        --scale;
    }
    const int left = (painter.Width() - width * scale) / 2;
    const int top = (painter.Height() - height * scale) / 2;
    const float opacity = time_.Opacity();
    painter.Fill({left, top, width * scale, height * scale}, Faded(kPanel, opacity));

    const int textLeft = left + margin * scale;
    int y = top + kLineHeight * scale;
    painter.Text(textLeft, y, kKeyCardTitle, scale, Faded(kTitle, opacity));
    y += 2 * kLineHeight * scale;
    for (const KeyCardRow& row : rows) {
        painter.Text(textLeft, y, row.keys, scale, Faded(kKeyText, opacity));
        painter.Text(textLeft + actionsLeft * scale, y, row.action, scale,
                     Faded(kActionText, opacity));
        y += kLineHeight * scale;
    }
}
