// The command line of walkthrough-shot:
//
//   walkthrough-shot [--model FILE] [--view auto|camera|fit|original] [--scale S] [--up z|y]
//                    [--walk] [--units m|cm|mm|in|ft] [--print-pose] [--frames N]
//                    [--size WxH|N] [--hold KEY:FROM-TO]... [--mouse DX,DY@FRAME]... [--bench]
//                    [--immediate] [--time-limit SECONDS] [--memory-limit MB] -o OUT.png
//   walkthrough-shot --help | --version
#pragma once

#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "platform/offscreen/InputScript.h"
#include "scene/DefaultFiles.h"

struct ShotOptions {
    std::string modelPath = kDefaultModelFile;
    // With --model the view defaults to auto, without it to the sample scene's own start.
    StartView view = StartView::kOriginal;
    // With --model the model is drawn as its author made it, as walkthrough MODEL draws it.
    bool drawMaterials = false;
    // Every face sent every frame, none left out: the picture the compiled drawing must equal.
    bool immediate = false;
    std::optional<double> scale;
    UpAxis up = UpAxis::kZ;
    // Walking from the start, in the model's length unit (guessed when absent).
    bool walk = false;
    std::optional<LengthUnit> units;
    // After the last frame, print where the eye stands in the model's own coordinates and the
    // heading.
    bool printPose = false;
    int frames = 1;
    int width = 800;
    int height = 600;
    platform::offscreen::InputScript input;
    std::string outputPath;
    bool bench = false;
    // Bounds on the run as a thumbnailer sets them, 0 for none: past either nothing is written.
    int timeLimitSeconds = 0;
    int memoryLimitMegabytes = 0;
};

ParsedCommandLine<ShotOptions> ParseShotCommandLine(int argc, const char* const* argv);

// The virtual-key code of a key name of --hold (W A S D Up Down Left Right PageUp PageDown
// Shift, in any letter case), or 0 for any other name.
int VirtualKeyByName(const std::string& name);
