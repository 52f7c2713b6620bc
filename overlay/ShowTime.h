// How long something on top of the frame shows, counted in frames (the walk-through has no
// clock: 75 frames a second). Shown for a number of frames, it fades out over its last
// kFadeFrames; shown until hidden, it stays at full opacity.
#pragma once

constexpr int kFadeFrames = 30;

class ShowTime {
public:
    // Shows for `frames` frames from now (none: hidden).
    void ShowFor(int frames) {
        framesLeft_ = frames > 0 ? frames : 0;
        untilHidden_ = false;
    }
    void ShowUntilHidden() { untilHidden_ = true; }
    void Hide() {
        framesLeft_ = 0;
        untilHidden_ = false;
    }
    // One frame has been shown.
    void AdvanceFrame() {
        if (framesLeft_ > 0) {
            --framesLeft_;
        }
    }
    bool Showing() const { return untilHidden_ || framesLeft_ > 0; }
    // 1 while showing, falling linearly over the last frames; 0 when hidden.
    float Opacity() const {
        if (untilHidden_ || framesLeft_ >= kFadeFrames) {
            return 1.0f;
        }
        return static_cast<float>(framesLeft_) / kFadeFrames;
    }

private:
    int framesLeft_ = 0;
    bool untilHidden_ = false;
};
