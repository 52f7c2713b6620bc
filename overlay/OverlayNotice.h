// One line said at the bottom of the window for a few seconds ("Saved ~/Pictures/house
// 2026-12-07 21-04-05.png"), on a dark strip, fading out at the end.
#pragma once

#include <string>

#include "overlay/OverlayPainter.h"
#include "overlay/ShowTime.h"

class OverlayNotice {
public:
    // Shows `line` for `frames` frames in place of any line shown.
    void ShowFor(const std::string& line, int frames);
    void Hide() { time_.Hide(); }
    bool Showing() const { return time_.Showing(); }
    const std::string& Line() const { return line_; }
    void AdvanceFrame() { time_.AdvanceFrame(); }

    // Draws the line if it shows, between the painter's Begin and End.
    void Draw(OverlayPainter& painter) const;

private:
    ShowTime time_;
    std::string line_;
};
