// The bar that shows how far the opening of a model has come: a label above it saying what is
// being done ("Reading kelm.3ds", "Laying out", "Textures 3 of 10"), a frame, and the part of
// it filled for the fraction done, on a dark panel in the middle of the window.
#pragma once

#include <string>

#include "overlay/OverlayPainter.h"

class ProgressBar {
public:
    // Shows the bar with `label`, `fraction` of it filled (clamped to 0..1; not a number: 0).
    void Show(const std::string& label, double fraction);
    void Hide() { showing_ = false; }
    bool Showing() const { return showing_; }
    double Fraction() const { return fraction_; }

    // Draws the bar if it shows, between the painter's Begin and End.
    void Draw(OverlayPainter& painter) const;

private:
    bool showing_ = false;
    std::string label_;
    double fraction_ = 0.0;
};
