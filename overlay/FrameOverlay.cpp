#include "overlay/FrameOverlay.h"

void FrameOverlay::Draw() {
    if (!Showing() || !painter_.Begin()) {
        return;
    }
    card.Draw(painter_);
    progress.Draw(painter_);
    notice.Draw(painter_);
    painter_.End();
}

void FrameOverlay::AdvanceFrame() {
    card.AdvanceFrame();
    notice.AdvanceFrame();
}
