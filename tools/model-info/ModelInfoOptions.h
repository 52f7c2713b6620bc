// The command line of model-info:
//
//   model-info [--dump | --dump-materials] FILE
//   model-info --help | --version
#pragma once

#include <string>

#include "cli/CommandLine.h"

struct ModelInfoOptions {
    std::string modelPath;
    bool dump = false;           // every value read instead of the summary
    bool dumpMaterials = false;  // the materials' details and their use instead
};

ParsedCommandLine<ModelInfoOptions> ParseModelInfoCommandLine(int argc, const char* const* argv);
