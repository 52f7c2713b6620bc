// The command line of make-sample:
//
//   make-sample [--force] [--textured] DIR
//   make-sample --help | --version
#pragma once

#include <string>

#include "cli/CommandLine.h"

struct MakeSampleOptions {
    std::string directory;
    bool force = false;     // replace a kelm.3ds or groud.wav that is already there
    bool textured = false;  // the textured sample and its images instead of the plain one
};

ParsedCommandLine<MakeSampleOptions> ParseMakeSampleCommandLine(int argc, const char* const* argv);
