// The test backend of the platform seam: scripted answers and input, every call recorded in
// the shared call log (CallLog.h). Reset() before each test.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/fake/CallLog.h"

namespace fake {

struct ScheduledMessage {
    int afterIdleTurns;  // delivered once the loop has found the queue empty this often
    platform::Message message;
};

struct State {
    // Script.
    int promptAnswer = platform::kAnswerYes;
    bool displayModeTakes = true;
    bool windowOpens = true;  // false: CreateMainWindow fails, as without a display
    int screenWidth = 1024;
    int screenHeight = 768;
    int pixelFormat = 1;   // what ChoosePixelFormat answers; 0 means none matches
    int clientWidth = -1;  // client size of the size message sent on creation; -1: outer size
    int clientHeight = -1;
    bool cursorReadable = true;
    platform::CursorPoint cursor{400, 300};
    bool inputFocus = true;                       // the window focused and not minimised
    platform::CursorPoint pointerHome{400, 300};  // its client centre on the screen
    std::set<int> heldKeys;
    // The files of drop messages, by their wParam.
    std::vector<std::string> droppedFiles;
    // The steady clock: each reading gives `milliseconds` and moves it on by millisecondsPerRead.
    std::uint64_t milliseconds = 0;
    std::uint64_t millisecondsPerRead = 0;
    // The client arrays the drawing keeps fixed, by start: their bytes.
    std::map<const void*, std::size_t> fixedArrays;
    std::vector<ScheduledMessage> schedule;
    int idleTurnLimit = 10000;  // a loop still running then gets a close message
    // Where pictures are saved: this folder, else the one WALKTHROUGH_PICTURES_DIR names; with
    // neither, saving fails (a test never writes into the user's pictures).
    std::string picturesFolder;

    // Observed.
    std::string promptText;
    std::string promptCaption;
    std::string warningText;
    std::string warningCaption;
    platform::DisplayMode requestedMode;
    platform::PixelFormatRequest pixelRequest;
    platform::WindowSpec windowSpec;
    std::string windowTitle;
    bool cursorVisible = true;
    int idleTurns = 0;
    int swaps = 0;
    platform::RenderContext currentContext = nullptr;
    std::deque<platform::Message> queue;
};

State& Fake();
void Reset();

// Handles the fake hands out.
platform::WindowHandle FakeWindow();
platform::DeviceContext FakeDeviceContext();
platform::RenderContext FakeRenderContext();

}  // namespace fake
