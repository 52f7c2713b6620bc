#include "app/OpeningScreen.h"

#include <GL/gl.h>

#include <utility>

OpeningScreen::OpeningScreen(FrameOverlay& overlay, platform::DeviceContext dc, std::string name)
    : overlay_(overlay), dc_(dc), name_(std::move(name)), start_(platform::SteadyMilliseconds()) {}

OpeningScreen::~OpeningScreen() {
    overlay_.progress.Hide();
}

void OpeningScreen::DispatchWaiting() {
    overlay_.progress.Hide();
    std::vector<platform::Message> waiting = std::move(waiting_);
    waiting_.clear();
    for (const platform::Message& message : waiting) {
        platform::TranslateKeyMessage(message);
        platform::DispatchToWindow(message);
    }
}

bool OpeningScreen::Report(const char* step, double fraction) {
    platform::Message message;
    // Only what waits is taken: an opening is not the loop's idle time.
    while (!givenUp_ && platform::PeekWaitingMessage(message) &&
           platform::RemoveWaitingMessage(message)) {
        const bool escape = message.wParam == static_cast<std::uintptr_t>(platform::kKeyEscape);
        if (message.id == platform::kMessageKeyUp && escape) {
            givenUp_ = true;
        } else if (message.id == platform::kMessageQuit) {
            givenUp_ = true;  // the program is ending: the quit goes back for the loop to see
            platform::PostQuit(static_cast<int>(message.wParam));
        } else if (!(message.id == platform::kMessageKeyDown && escape)) {
            waiting_.push_back(message);
        }
    }
    const std::uint64_t now = platform::SteadyMilliseconds();
    if (!givenUp_ && now - start_ >= kQuietMilliseconds &&
        (!drawn_ || now - lastDrawn_ >= kRedrawMilliseconds)) {
        DrawBar(step, fraction);
        lastDrawn_ = now;
        drawn_ = true;
    }
    return !givenUp_;
}

// The sky of the walk-through's frames, and the bar over it.
void OpeningScreen::DrawBar(const char* step, double fraction) {
    glClearColor(0.0f, 0.0f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    overlay_.progress.Show(name_ + ": " + step, fraction);
    overlay_.Draw();
    glFlush();
    platform::SwapFrontAndBack(dc_);
}
