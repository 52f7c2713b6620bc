// The overlay room: what is drawn on top of a frame, in window pixels, after the model and
// before the buffer swap: the card of keys (F1), a one-line notice at the bottom, and the
// progress bar of a model being opened, with a small bitmap font of its own. Portable C++ with
// OpenGL 1.1 and GLU calls; it may call scene/ and platform/ at most, and app/ (and the tools)
// call it.
//
//   FrameOverlay overlay;
//   overlay.card.ShowFor(4 * 75);           // a model opened: the keys for four seconds
//   ...each frame, after the model is drawn and before the swap:
//   overlay.Draw();
//   overlay.AdvanceFrame();
//   ...F1: overlay.card.Toggle();  a screenshot saved: overlay.notice.ShowFor("Saved ...", 300);
//   ...while opening: overlay.progress.Show("Textures 3 of 10", 0.8); draw a frame; Hide() after.
#pragma once

#include "overlay/KeyCard.h"
#include "overlay/OverlayNotice.h"
#include "overlay/OverlayPainter.h"
#include "overlay/ProgressBar.h"

class FrameOverlay {
public:
    // Draws whatever shows, the card under the bar under the notice, over the current viewport;
    // when nothing shows, makes no GL call. The GL state is left as OverlayPainter.h says.
    void Draw();
    // A frame has been shown: the card's and the notice's time runs on.
    void AdvanceFrame();
    bool Showing() const { return card.Showing() || progress.Showing() || notice.Showing(); }

    // Deletes the font's texture (with its context current), or forgets it when the context
    // that held it is gone; either way the next Draw uploads it again.
    void ReleaseTexture() { painter_.ReleaseTexture(); }
    void ForgetTexture() { painter_.ForgetTexture(); }

    KeyCard card;
    ProgressBar progress;
    OverlayNotice notice;

private:
    OverlayPainter painter_;
};
