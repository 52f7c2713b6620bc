// What the window shows while a model it was asked to open takes its time: after half a second,
// a bar over the sky saying what is being done and how far it has come, redrawn a few times a
// second. Escape let go gives the opening up; every other message waits until the opening is
// over and what it opened is shown (DispatchWaiting).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "overlay/FrameOverlay.h"
#include "platform/Platform.h"
#include "viewer/ModelOpening.h"

class OpeningScreen : public OpeningProgress {
public:
    // `name`: the model's file name, said on the bar.
    OpeningScreen(FrameOverlay& overlay, platform::DeviceContext dc, std::string name);
    // Takes the bar away.
    ~OpeningScreen();
    OpeningScreen(const OpeningScreen&) = delete;
    OpeningScreen& operator=(const OpeningScreen&) = delete;

    bool Report(const char* step, double fraction) override;
    // Takes the bar away and dispatches the messages that waited, as the loop would have.
    void DispatchWaiting();

    static constexpr std::uint64_t kQuietMilliseconds = 500;  // no bar for a quick opening
    static constexpr std::uint64_t kRedrawMilliseconds = 40;

private:
    void DrawBar(const char* step, double fraction);

    FrameOverlay& overlay_;
    platform::DeviceContext dc_;
    std::string name_;
    std::uint64_t start_;
    std::uint64_t lastDrawn_ = 0;
    bool drawn_ = false;
    bool givenUp_ = false;
    std::vector<platform::Message> waiting_;
};
