// A tool's command line against a table: each row a line of arguments and what it comes to.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "cli/CommandLine.h"

// Arguments split at spaces; '' stands for an empty one.
template <typename Parse>
auto ParseLine(Parse parse, const std::string& program, const std::string& line) {
    std::istringstream in(program + " " + line);
    std::deque<std::string> words;  // stays in place as it grows
    std::vector<const char*> argv;
    for (std::string word; in >> word;) {
        argv.push_back(words.emplace_back(word == "''" ? "" : word).c_str());
    }
    return parse(static_cast<int>(argv.size()), argv.data());
}

// A line, a status and a text. Status -1: the tool runs with the options `describe` turns into
// the text. Status 0 (help, version): the text on standard output. Status 2 (bad usage): one
// line naming the program and holding the text, then the usage, on standard error.
using CommandLineCase = std::tuple<std::string, int, std::string>;

template <typename Parse, typename Describe>
void ExpectOutcomes(Parse parse, const std::string& program, Describe describe,
                    const std::vector<CommandLineCase>& cases) {
    for (const auto& [line, status, text] : cases) {
        SCOPED_TRACE(program + " " + line);
        const auto parsed = ParseLine(parse, program, line);
        if (!parsed.stop) {
            EXPECT_EQ(describe(parsed.options), status < 0 ? text : "a stop");
            continue;
        }
        const CommandLineStop& stop = *parsed.stop;
        const std::string& shown = status == 0 ? stop.standardOutput : stop.standardError;
        const std::string firstLine = shown.substr(0, shown.find('\n'));
        EXPECT_EQ(stop.exitStatus, status) << shown;
        EXPECT_EQ(status == 0 ? stop.standardError : stop.standardOutput, "");
        EXPECT_NE((status == 0 ? shown : firstLine).find(text), std::string::npos) << shown;
        if (status != 0) {
            EXPECT_EQ(firstLine.rfind(program + ": ", 0), 0u) << shown;
            EXPECT_EQ(shown.find("Usage: " + program), firstLine.size() + 1) << shown;
        }
    }
}
