#include "overlay/ProgressBar.h"

#include <algorithm>
#include <cmath>

#include "overlay/BitmapFont.h"

namespace {

constexpr OverlayColour kPanel{0.0f, 0.0f, 0.0f, 0.72f};
constexpr OverlayColour kLabel{0.92f, 0.92f, 0.92f, 1.0f};
constexpr OverlayColour kFrame{0.75f, 0.75f, 0.75f, 1.0f};
constexpr OverlayColour kFilled{0.35f, 0.62f, 1.0f, 1.0f};

// In pixels at scale 1: the bar's length (more for a longer label, less in a narrow window), its
// height with the frame, the frame's thickness, the gap between frame and fill, the panel's
// margin.
constexpr int kBarLength = 240;
constexpr int kBarHeight = 12;
constexpr int kFrameThickness = 1;
constexpr int kFillInset = 2;
constexpr int kMargin = 10;

}  // namespace

void ProgressBar::Show(const std::string& label, double fraction) {
    showing_ = true;
    label_ = label;
    fraction_ = std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
}

void ProgressBar::Draw(OverlayPainter& painter) const {
    if (!showing_) {
        return;
    }
    const int scale = OverlayTextScale(painter.Width(), painter.Height());
    // As long as the label, if the window allows.
    const int length = std::min(std::max(kBarLength, TextWidth(label_)) * scale,
                                painter.Width() - 4 * kMargin * scale);
    if (length <= 2 * (kFrameThickness + kFillInset) * scale) {
        return;  // no room for a bar
    }
    const int margin = kMargin * scale;
    const int panelWidth = length + 2 * margin;
    const int panelHeight = kLineHeight * scale + kBarHeight * scale + 2 * margin;
    const int left = (painter.Width() - panelWidth) / 2;
    const int top = (painter.Height() - panelHeight) / 2;
    painter.Fill({left, top, panelWidth, panelHeight}, kPanel);

    const int barLeft = left + margin;
    const int labelTop = top + margin - kInkTop * scale;  // the ink's top on the margin
    painter.Text(barLeft, labelTop, label_, scale, kLabel);

    const PixelRect bar{barLeft, top + margin + kLineHeight * scale, length, kBarHeight * scale};
    painter.Outline(bar, kFrameThickness * scale, kFrame);
    const int inset = (kFrameThickness + kFillInset) * scale;
    const int inner = bar.width - 2 * inset;
    const int filled = static_cast<int>(std::lround(fraction_ * inner));
    painter.Fill({bar.x + inset, bar.y + inset, filled, bar.height - 2 * inset}, kFilled);
}
