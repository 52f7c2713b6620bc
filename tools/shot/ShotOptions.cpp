#include "tools/shot/ShotOptions.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/offscreen/OffscreenContext.h"

namespace {

// Frame numbers and counts stay far from int overflow; a cursor offset stays within what a
// screen could hold, so the camera's pixel arithmetic cannot overflow either.
constexpr long kMaxFrames = 100000000;
constexpr long kMaxCursorOffset = 1000000;
// --bench keeps one time per frame.
constexpr int kMaxBenchFrames = 1000000;
// The bounds a thumbnailer may set: a day, a terabyte; below 64 MB not even GL starts.
constexpr long kMaxTimeLimit = 86400;
constexpr long kMinMemoryLimit = 64;
constexpr long kMaxMemoryLimit = 1L << 20;

// Reads a whole decimal integer in [low, high] from `text`, up to `stop` or its end, and
// leaves `text` past it.
bool TakeInteger(const char*& text, char stop, long low, long high, int& value) {
    if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text)) || *text == '+') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || errno != 0 || *end != stop || parsed < low || parsed > high) {
        return false;
    }
    value = static_cast<int>(parsed);
    text = *end == '\0' ? end : end + 1;
    return true;
}

bool ParseFrames(const char* text, int& frames) {
    return TakeInteger(text, '\0', 1, kMaxFrames, frames);
}

// WxH, or N for a square N by N (the form thumbnailers give).
bool ParseSize(const char* text, int& width, int& height) {
    const long side = platform::offscreen::kMaxFramebufferSide;
    if (std::strchr(text, 'x') == nullptr) {
        if (!TakeInteger(text, '\0', 1, side, width)) {
            return false;
        }
        height = width;
        return true;
    }
    return TakeInteger(text, 'x', 1, side, width) && TakeInteger(text, '\0', 1, side, height);
}

bool ParseHold(const char* text, platform::offscreen::InputScript& input) {
    const char* colon = std::strchr(text, ':');
    if (colon == nullptr) {
        return false;
    }
    const int key = VirtualKeyByName(std::string(text, colon));
    const char* range = colon + 1;
    int first = 0;
    int last = 0;
    if (key == 0 || !TakeInteger(range, '-', 1, kMaxFrames, first) ||
        !TakeInteger(range, '\0', 1, kMaxFrames, last) || last < first) {
        return false;
    }
    input.Hold(key, first, last);
    return true;
}

bool ParseMouse(const char* text, platform::offscreen::InputScript& input) {
    int dx = 0;
    int dy = 0;
    int frame = 0;
    if (!TakeInteger(text, ',', -kMaxCursorOffset, kMaxCursorOffset, dx) ||
        !TakeInteger(text, '@', -kMaxCursorOffset, kMaxCursorOffset, dy) ||
        !TakeInteger(text, '\0', 1, kMaxFrames, frame)) {
        return false;
    }
    input.MoveCursor(dx, dy, frame);
    return true;
}

// A CLI11 check that answers `wants` when `parse` refuses the text. The values are taken
// into the options only once every check has passed.
template <typename Parse>
CLI::Validator Wants(const std::string& wants, Parse parse) {
    return CLI::Validator(
        [wants, parse](std::string& text) { return parse(text) ? std::string() : wants; }, "");
}

}  // namespace

int VirtualKeyByName(const std::string& name) {
    struct NamedKey {
        const char* name;
        int virtualKey;
    };
    static constexpr NamedKey kKeys[] = {
        {"w", platform::kKeyW},           {"a", platform::kKeyA},
        {"s", platform::kKeyS},           {"d", platform::kKeyD},
        {"up", platform::kKeyUp},         {"down", platform::kKeyDown},
        {"left", platform::kKeyLeft},     {"right", platform::kKeyRight},
        {"pageup", platform::kKeyPageUp}, {"pagedown", platform::kKeyPageDown},
        {"shift", platform::kKeyShift},   {"g", platform::kKeyG},
        {"f1", platform::kKeyF1},         {"f12", platform::kKeyF12},
    };
    std::string lower;
    for (char c : name) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const NamedKey& key : kKeys) {
        if (lower == key.name) {
            return key.virtualKey;
        }
    }
    return 0;
}

ParsedCommandLine<ShotOptions> ParseShotCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine<ShotOptions> parsed;
    ShotOptions& options = parsed.options;
    CLI::App app(
        "Renders frames of the walk-through without a display, from its start view (fitted to\n"
        "the model given with --model) and as fast as possible, and writes the last one to\n"
        "OUT.png. Only the last frame is drawn; the ones before it are only advanced.\n",
        "walkthrough-shot");
    AddToolConventions(app, "0 written, 1 model unreadable or rendering failed");

    std::string frames = "1";
    std::string size = "800x600";
    std::vector<std::string> holds;
    std::vector<std::string> moves;
    platform::offscreen::InputScript scratchInput;
    const long side = platform::offscreen::kMaxFramebufferSide;
    app.add_option("--model", options.modelPath, "the 3DS model (default: kelm.3ds here)")
        ->type_name("FILE")
        ->check(Wants("wants a file name", [](const std::string& text) { return !text.empty(); }));
    ViewArguments view;
    AddViewOptions(app, view);
    WalkArguments walk;
    AddWalkOptions(app, walk);
    app.add_flag("--print-pose", options.printPose,
                 "after the last frame print the eye's place in the model's own coordinates and "
                 "the heading");
    app.add_option("--frames", frames, "frames to render (default 1)")
        ->type_name("N")
        ->check(Wants("wants a count from 1 to " + std::to_string(kMaxFrames),
                      [](const std::string& text) {
                          int count = 0;
                          return ParseFrames(text.c_str(), count);
                      }));
    app.add_option("--size", size, "picture size; N alone is NxN (default 800x600)")
        ->type_name("WxH|N")
        ->check(Wants("wants WxH or N, each side from 1 to " + std::to_string(side),
                      [](const std::string& text) {
                          int width = 0;
                          int height = 0;
                          return ParseSize(text.c_str(), width, height);
                      }));
    app.add_option("--hold", holds,
                   "hold KEY during frames FROM to TO (1-based, inclusive); KEY: W A S D Up "
                   "Down Left Right PageUp PageDown Shift G")
        ->type_name("KEY:FROM-TO")
        ->check(Wants("wants KEY:FROM-TO with KEY one of W A S D Up Down Left Right PageUp "
                      "PageDown Shift G and 1 <= FROM <= TO",
                      [&scratchInput](const std::string& text) {
                          return ParseHold(text.c_str(), scratchInput);
                      }));
    app.add_option("--mouse", moves, "on frame FRAME the cursor stands DX,DY pixels from (400,300)")
        ->type_name("DX,DY@FRAME")
        ->check(
            Wants("wants DX,DY@FRAME with FRAME >= 1", [&scratchInput](const std::string& text) {
                return ParseMouse(text.c_str(), scratchInput);
            }));
    app.add_flag("--bench", options.bench,
                 "draw every frame; print the frames drawn and the median ms per frame");
    app.add_flag("--immediate", options.immediate,
                 "with --model: send every face every frame, uncompiled and none left out (the "
                 "picture is the same)");
    std::string timeLimit;
    std::string memoryLimit;
    app.add_option("--time-limit", timeLimit,
                   "past SECONDS of wall-clock time, stop: nothing written, exit status 1")
        ->type_name("SECONDS")
        ->check(Wants("wants whole seconds from 1 to " + std::to_string(kMaxTimeLimit),
                      [](const std::string& text) {
                          const char* at = text.c_str();
                          int seconds = 0;
                          return TakeInteger(at, '\0', 1, kMaxTimeLimit, seconds);
                      }));
    app.add_option("--memory-limit", memoryLimit,
                   "past MB megabytes of memory (peak resident), stop: nothing written, exit "
                   "status 1")
        ->type_name("MB")
        ->check(Wants("wants megabytes from " + std::to_string(kMinMemoryLimit) + " to " +
                          std::to_string(kMaxMemoryLimit),
                      [](const std::string& text) {
                          const char* at = text.c_str();
                          int megabytes = 0;
                          return TakeInteger(at, '\0', kMinMemoryLimit, kMaxMemoryLimit, megabytes);
                      }));
    app.add_option("-o", options.outputPath, "the picture to write")
        ->type_name("OUT.png")
        ->required();
    // Every value has passed its check: take them into the options.
    app.callback([&] {
        options.view = ChosenView(view, app.count("--model") > 0);
        options.drawMaterials = app.count("--model") > 0;
        options.scale = view.scale;
        options.up = ChosenUp(view);
        options.walk = walk.walk;
        options.units = ChosenUnits(walk);
        ParseFrames(frames.c_str(), options.frames);
        ParseSize(size.c_str(), options.width, options.height);
        for (const std::string& hold : holds) {
            ParseHold(hold.c_str(), options.input);
        }
        for (const std::string& move : moves) {
            ParseMouse(move.c_str(), options.input);
        }
        if (const char* at = timeLimit.c_str(); !timeLimit.empty()) {
            TakeInteger(at, '\0', 1, kMaxTimeLimit, options.timeLimitSeconds);
        }
        if (const char* at = memoryLimit.c_str(); !memoryLimit.empty()) {
            TakeInteger(at, '\0', kMinMemoryLimit, kMaxMemoryLimit, options.memoryLimitMegabytes);
        }
        if (options.bench && options.frames > kMaxBenchFrames) {
            throw CLI::ValidationError(
                "--bench", "times at most " + std::to_string(kMaxBenchFrames) + " frames");
        }
    });
    parsed.stop = ReadCommandLine(app, argc, argv);
    return parsed;
}
