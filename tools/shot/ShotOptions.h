// The command line of walkthrough-shot:
//
//   walkthrough-shot [--model FILE] [--frames N] [--size WxH] [--hold KEY:FROM-TO]...
//                    [--mouse DX,DY@FRAME]... [--bench] -o OUT.png
//   walkthrough-shot --help | --version
#pragma once

#include <string>

#include "platform/offscreen/InputScript.h"
#include "tools/common/CommandLine.h"

struct ShotOptions {
    std::string modelPath = "kelm.3ds";
    int frames = 1;
    int width = 800;
    int height = 600;
    platform::offscreen::InputScript input;
    std::string outputPath;
    bool bench = false;
};

ParsedCommandLine<ShotOptions> ParseShotCommandLine(int argc, const char* const* argv);

// The virtual-key code of a key name of --hold (W A S D Up Down Left Right PageUp PageDown
// Shift, in any letter case), or 0 for any other name.
int VirtualKeyByName(const std::string& name);
