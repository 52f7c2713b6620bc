// Reading a tool's command line in a test: argv from a list, and what a stop must look like.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/common/CommandLine.h"

template <typename Parse>
auto ParseArguments(Parse parse, const std::string& program, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), program);
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    return parse(static_cast<int>(argv.size()), argv.data());
}

// Status 0 (help, version): `text` on standard output. Status 2 (bad usage): one line naming
// the program and holding `text`, then the usage, on standard error.
inline void ExpectStop(const CommandLineStop& stop, const std::string& program, int status,
                       const std::string& text) {
    EXPECT_EQ(stop.exitStatus, status);
    const std::string& shown = status == 0 ? stop.standardOutput : stop.standardError;
    EXPECT_EQ(status == 0 ? stop.standardError : stop.standardOutput, "");
    const std::string firstLine = shown.substr(0, shown.find('\n'));
    EXPECT_NE((status == 0 ? shown : firstLine).find(text), std::string::npos) << shown;
    if (status != 0) {
        EXPECT_EQ(firstLine.rfind(program + ": ", 0), 0u) << shown;
        EXPECT_EQ(shown.find("Usage: " + program), firstLine.size() + 1) << shown;
    }
}
