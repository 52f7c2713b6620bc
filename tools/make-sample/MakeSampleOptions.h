// The command line of make-sample:
//
//   make-sample [--force] DIR
//   make-sample --help | --version
#pragma once

#include <string>

#include "tools/common/CommandLine.h"

struct MakeSampleOptions {
    std::string directory;
    bool force = false;  // replace a kelm.3ds or groud.wav that is already there
};

ParsedCommandLine<MakeSampleOptions> ParseMakeSampleCommandLine(int argc, const char* const* argv);
