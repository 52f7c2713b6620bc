// The command lines of model-info and make-sample: argv to options, or to the stop it makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/CommandLineCheck.h"
#include "tools/make-sample/MakeSampleOptions.h"
#include "tools/model-info/ModelInfoOptions.h"

namespace {

using Arguments = std::vector<std::string>;

TEST(ToolOptions, TheFlagMayComeBeforeOrAfterThePath) {
    const std::vector<std::pair<Arguments, bool>> kOrders = {
        {{"p"}, false}, {{"-F", "p"}, true}, {{"p", "-F"}, true}};
    for (const auto& [order, flagged] : kOrders) {
        Arguments dump = order;
        Arguments force = order;
        for (std::size_t i = 0; i < order.size(); ++i) {
            dump[i] = order[i] == "-F" ? "--dump" : order[i];
            force[i] = order[i] == "-F" ? "--force" : order[i];
        }
        const auto inspect = ParseArguments(ParseModelInfoCommandLine, "model-info", dump);
        ASSERT_FALSE(inspect.stop) << inspect.stop->standardError;
        EXPECT_EQ(inspect.options.modelPath, "p");
        EXPECT_EQ(inspect.options.dump, flagged);
        const auto sample = ParseArguments(ParseMakeSampleCommandLine, "make-sample", force);
        ASSERT_FALSE(sample.stop) << sample.stop->standardError;
        EXPECT_EQ(sample.options.directory, "p");
        EXPECT_EQ(sample.options.force, flagged);
    }
}

TEST(ToolOptions, StopsSayWhy) {
    struct StopCase {
        std::string program;
        Arguments arguments;
        int status;
        std::string text;  // the wrong argument, or what help and version print
    };
    const std::string version = std::string(" ") + PROJECT_VERSION + "\n";
    const std::vector<StopCase> kCases = {
        {"model-info", {}, 2, "FILE"},
        {"model-info", {"--dump"}, 2, "FILE"},
        {"model-info", {"--frobnicate"}, 2, "--frobnicate"},
        {"model-info", {"--frobnicate", "m.3ds"}, 2, "--frobnicate"},
        {"model-info", {"a.3ds", "b.3ds"}, 2, "b.3ds"},
        {"model-info", {"--help"}, 0, "Usage: model-info"},
        {"model-info", {"--version"}, 0, "model-info" + version},
        {"make-sample", {}, 2, "DIR"},
        {"make-sample", {""}, 2, "DIR"},
        {"make-sample", {"a", "b"}, 2, "b"},
        {"make-sample", {"--bogus", "out"}, 2, "--bogus"},
        {"make-sample", {"--help"}, 0, "Usage: make-sample"},
        {"make-sample", {"--version"}, 0, "make-sample" + version},
    };
    for (const StopCase& c : kCases) {
        SCOPED_TRACE(c.program + " " + (c.arguments.empty() ? "" : c.arguments[0]));
        const auto stop =
            c.program == "model-info"
                ? ParseArguments(ParseModelInfoCommandLine, c.program, c.arguments).stop
                : ParseArguments(ParseMakeSampleCommandLine, c.program, c.arguments).stop;
        ASSERT_TRUE(stop);
        ExpectStop(*stop, c.program, c.status, c.text);
    }
}

}  // namespace
