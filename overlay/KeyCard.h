// The card of keys: every key of the walk-through and what it does, in two columns on a dark
// panel in the middle of the window. F1 shows and hides it; it shows by itself for a few
// seconds when a model opens, fading out at the end.
#pragma once

#include <vector>

#include "overlay/OverlayPainter.h"
#include "overlay/ShowTime.h"

// Which walk a row belongs to: rows for every walk, rows for a walk without the walking mode
// (the eye only flies), rows once walking (G) exists.
enum class KeyCardRowShown { kAlways, kWithoutWalking, kWithWalking };

struct KeyCardRow {
    const char* keys;
    const char* action;
    KeyCardRowShown shown;
};

// The card's texts, in the order shown: the one table to change them in.
extern const char* const kKeyCardTitle;
extern const std::vector<KeyCardRow> kKeyCardRows;

class KeyCard {
public:
    // Shows the card for `frames` frames, fading out over the last ones (a model has opened).
    void ShowFor(int frames) { time_.ShowFor(frames); }
    // F1: hides a card that shows, or shows it until hidden.
    void Toggle();
    void Hide() { time_.Hide(); }
    bool Showing() const { return time_.Showing(); }
    void AdvanceFrame() { time_.AdvanceFrame(); }
    // Whether the walk has the walking mode, whose keys the card then lists.
    void SetWalking(bool walking) { walking_ = walking; }

    // The rows the card lists now.
    std::vector<KeyCardRow> Rows() const;
    // Draws the card if it shows, between the painter's Begin and End.
    void Draw(OverlayPainter& painter) const;

private:
    ShowTime time_;
    bool walking_ = false;
};
