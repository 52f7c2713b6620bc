#include "tools/shot/ShotOptions.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/offscreen/OffscreenContext.h"

namespace {

using Action = ParsedCommandLine::Action;

// Frame numbers and counts stay far from int overflow; a cursor offset stays within what a
// screen could hold, so the camera's pixel arithmetic cannot overflow either.
constexpr long kMaxFrames = 100000000;
constexpr long kMaxCursorOffset = 1000000;
// --bench keeps one time per frame.
constexpr int kMaxBenchFrames = 1000000;

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

bool ParseSize(const char* text, int& width, int& height) {
    const long side = platform::offscreen::kMaxFramebufferSide;
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

ParsedCommandLine BadUsage(const std::string& problem) {
    ParsedCommandLine parsed;
    parsed.action = Action::BadUsage;
    parsed.problem = problem;
    return parsed;
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
        {"shift", platform::kKeyShift},
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

ParsedCommandLine ParseShotCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine parsed;
    ShotOptions& options = parsed.options;
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        parsed.action = Action::Help;
        return parsed;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        parsed.action = Action::Version;
        return parsed;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--bench") {
            options.bench = true;
            continue;
        }
        const bool takesValue = option == "--model" || option == "--frames" || option == "--size" ||
                                option == "--hold" || option == "--mouse" || option == "-o";
        if (!takesValue) {
            return BadUsage(option == "--help" || option == "--version"
                                ? option + " stands alone"
                                : "unknown argument '" + option + "'");
        }
        if (i + 1 >= argc) {
            return BadUsage(option + " needs a value");
        }
        const char* value = argv[++i];
        if (option == "--model") {
            options.modelPath = value;
        } else if (option == "-o") {
            options.outputPath = value;
        } else if (option == "--frames") {
            if (!ParseFrames(value, options.frames)) {
                return BadUsage("--frames wants a count from 1 to " + std::to_string(kMaxFrames));
            }
        } else if (option == "--size") {
            if (!ParseSize(value, options.width, options.height)) {
                return BadUsage("--size wants WxH, each side from 1 to " +
                                std::to_string(platform::offscreen::kMaxFramebufferSide));
            }
        } else if (option == "--hold") {
            if (!ParseHold(value, options.input)) {
                return BadUsage(
                    "--hold wants KEY:FROM-TO with KEY one of W A S D Up Down Left Right PageUp "
                    "PageDown Shift and 1 <= FROM <= TO");
            }
        } else if (!ParseMouse(value, options.input)) {
            return BadUsage("--mouse wants DX,DY@FRAME with FRAME >= 1");
        }
    }
    if (options.modelPath.empty()) {
        return BadUsage("--model wants a file name");
    }
    if (options.outputPath.empty()) {
        return BadUsage("-o OUT.png is required");
    }
    if (options.bench && options.frames > kMaxBenchFrames) {
        return BadUsage("--bench times at most " + std::to_string(kMaxBenchFrames) + " frames");
    }
    parsed.action = Action::Render;
    return parsed;
}

const char* ShotUsage() {
    return "usage: walkthrough-shot [--model FILE] [--frames N] [--size WxH]\n"
           "                        [--hold KEY:FROM-TO]... [--mouse DX,DY@FRAME]... [--bench]\n"
           "                        -o OUT.png\n"
           "       walkthrough-shot --help | --version\n"
           "Renders frames of the walk-through without a display, from the start pose and as\n"
           "fast as possible, and writes the last one to OUT.png.\n"
           "  --model FILE         the 3DS model (default: kelm.3ds in the working directory)\n"
           "  --frames N           frames to render (default 1)\n"
           "  --size WxH           picture size (default 800x600)\n"
           "  --hold KEY:FROM-TO   hold KEY during frames FROM to TO (1-based, inclusive);\n"
           "                       KEY: W A S D Up Down Left Right PageUp PageDown Shift\n"
           "  --mouse DX,DY@FRAME  on frame FRAME the cursor stands DX,DY pixels from (400,300)\n"
           "  --bench              print the frames rendered and the median ms per frame\n"
           "Exit status: 0 written, 1 model unreadable or rendering failed, 2 bad usage.\n";
}
