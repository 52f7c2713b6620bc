// One style of command line for every program: CLI11 reads the arguments; --help and --version
// print to standard output and end with status 0; bad usage prints one line naming the wrong
// argument, then the usage, to standard error and ends with status 2. The cli room serves app/
// and tools/ and calls placement/ for the start views its --view names.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

#include "placement/UpAxis.h"
#include "placement/ViewFit.h"

constexpr int kExitBadUsage = 2;

// What a tool prints and returns instead of doing its work.
struct CommandLineStop {
    int exitStatus = 0;
    std::string standardOutput;
    std::string standardError;
};

// A tool's options, or why it stops before using them.
template <typename Options>
struct ParsedCommandLine {
    Options options;
    std::optional<CommandLineStop> stop;
};

// Gives `app` the tools' --version and the exit statuses' footer of --help.
void AddToolConventions(CLI::App& app, const std::string& exitStatuses);

// Reads argv into the variables `app`'s options are bound to. Nothing when the tool is to run.
std::optional<CommandLineStop> ReadCommandLine(CLI::App& app, int argc, const char* const* argv);

// Prints what the stop says and gives its exit status.
int PrintStop(const CommandLineStop& stop);

// --view, --scale and --up, which walkthrough and walkthrough-shot share.
struct ViewArguments {
    std::string view;  // "auto", "camera", "fit" or "original"; empty when not given
    std::optional<double> scale;
    std::string up = "z";  // "z" or "y"
};
void AddViewOptions(CLI::App& app, ViewArguments& arguments);
// The start view asked for; when none was, kAuto for a model named on the command line and
// kOriginal for the walk-through's own scene.
StartView ChosenView(const ViewArguments& arguments, bool modelNamed);
UpAxis ChosenUp(const ViewArguments& arguments);
