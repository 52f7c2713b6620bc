#include "overlay/OverlayNotice.h"

#include "overlay/BitmapFont.h"

namespace {

constexpr OverlayColour kStrip{0.0f, 0.0f, 0.0f, 0.72f};
constexpr OverlayColour kText{1.0f, 1.0f, 1.0f, 1.0f};
constexpr int kPadding = 6;  // pixels at scale 1 around the line, and below the strip

}  // namespace

void OverlayNotice::ShowFor(const std::string& line, int frames) {
    line_ = line;
    time_.ShowFor(frames);
}

void OverlayNotice::Draw(OverlayPainter& painter) const {
    if (!time_.Showing()) {
        return;
    }
    // Scale 1 if the line would not fit at the window's scale; a longer line is cut by the edge.
    int scale = OverlayTextScale(painter.Width(), painter.Height());
    const int textWidth = TextWidth(line_);
    while (scale > 1 && (textWidth + 2 * kPadding) * scale > painter.Width()) {
        --scale;
    }
    const int width = (textWidth + 2 * kPadding) * scale;
    const int height = (kLineHeight + kPadding) * scale;
    const int left = (painter.Width() - width) / 2;
    const int top = painter.Height() - height - kPadding * scale;
    const float opacity = time_.Opacity();
    painter.Fill({left, top, width, height}, Faded(kStrip, opacity));
    painter.Text(left + kPadding * scale, top + (kPadding / 2 - 1) * scale, line_, scale,
                 Faded(kText, opacity));
}
