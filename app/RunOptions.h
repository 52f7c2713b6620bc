// The command line of walkthrough, and the one place that knows its two ways to run:
//
//   walkthrough                 kelm.3ds and groud.wav from the working folder, the question
//                               about full screen, the fixed start (the walk-through as made)
//   walkthrough [OPTIONS] MODEL any model, windowed unless told otherwise, fitted to the model
//
//   walkthrough [--fullscreen|--windowed] [--view auto|camera|fit|original] [--scale S] [--up z|y]
//               [--sound FILE|--no-sound] [MODEL]
//   walkthrough --help | --version
#pragma once

#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "placement/ViewFit.h"
#include "scene/Scene.h"

enum class DisplayChoice { kAsk, kFullScreen, kWindowed };

struct RunOptions {
    std::string modelPath = kDefaultModelFile;  // UTF-8
    // Named on the command line: a model that cannot be read ends the run, and the problems of
    // a damaged one are counted on standard error.
    bool modelNamed = false;
    // Drawn as its author made it (materials per face, textures, transparency, smoothing): a
    // model the user named. The walk-through's own scene keeps its colour per mesh.
    bool drawMaterials = false;
    DisplayChoice display = DisplayChoice::kAsk;
    // Full screen switches the display to 800x600 at 16 bits and 75 Hz; otherwise a borderless
    // window covers the desktop at its own size.
    bool switchDisplayMode = true;
    StartView view = StartView::kOriginal;
    // How a model dropped on the window starts.
    StartView droppedView = StartView::kAuto;
    std::optional<double> scale;  // model units per world unit, in place of the fitted scale
    // The up axis of the model named (or of the walk-through's own, placed), and of those dropped.
    UpAxis up = UpAxis::kZ;
    UpAxis droppedUp = UpAxis::kZ;
    std::string soundPath = kDefaultSoundFile;  // UTF-8; empty for silence

    // The walk-through as made: its own model, neither named nor placed. The renderer reads it
    // as it is built, before the window, and frames show it through the scene's own camera and
    // drawing. Otherwise the model is opened once the window exists (viewer/), placed as `view`,
    // `scale` and `up` say.
    bool AsMade() const {
        return !modelNamed && view == StartView::kOriginal && !scale && up == UpAxis::kZ;
    }
};

ParsedCommandLine<RunOptions> ParseRunCommandLine(int argc, const char* const* argv);
