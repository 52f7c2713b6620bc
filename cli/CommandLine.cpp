#include "cli/CommandLine.h"

#include <cstdio>
#include <vector>

void AddToolConventions(CLI::App& app, const std::string& exitStatuses) {
    // The same options on every system: on Windows, CLI11 would take "/path" for an option.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", app.get_name() + " " + WALKTHROUGH_VERSION);
    app.footer("Exit status: " + exitStatuses + ", 2 bad usage.");
}

std::optional<CommandLineStop> ReadCommandLine(CLI::App& app, int argc, const char* const* argv) {
    try {
        app.parse(argc, argv);
        return std::nullopt;
    } catch (const CLI::CallForHelp&) {
        return CommandLineStop{0, app.help(), ""};
    } catch (const CLI::CallForVersion& version) {
        return CommandLineStop{0, std::string(version.what()) + "\n", ""};
    } catch (const CLI::ParseError& error) {
        // An argument the tool does not know is named first, even when a required one is
        // missing too: "model-info --frob" is about --frob.
        const std::vector<std::string> unknown = app.remaining();
        const std::string what = unknown.empty() ? error.what() : CLI::ExtrasError(unknown).what();
        return CommandLineStop{kExitBadUsage, "",
                               app.get_name() + ": " + what + "\n" +
                                   CLI::Formatter().make_usage(&app, app.get_name())};
    }
}

int PrintStop(const CommandLineStop& stop) {
    std::fputs(stop.standardOutput.c_str(), stdout);
    std::fputs(stop.standardError.c_str(), stderr);
    return stop.exitStatus;
}

void AddViewOptions(CLI::App& app, ViewArguments& arguments) {
    app.add_option("--view", arguments.view,
                   "where the walk starts: auto (the file's first camera, else fit), camera, fit\n"
                   "(outside the model, which is scaled to walking size) or original (the\n"
                   "walk-through's own start and scale; the default without a model)")
        ->check(CLI::IsMember({"auto", "camera", "fit", "original"}));
    app.add_option_function<double>(
           "--scale", [&arguments](double scale) { arguments.scale = scale; },
           "model units per world unit (the eye stands 3 world units high), in place of the\n"
           "fitted scale")
        ->check(CLI::PositiveNumber);
    app.add_option("--up", arguments.up,
                   "the model's up axis: z (the default) or y, for models made or converted\n"
                   "with y up, which are turned upright")
        ->check(CLI::IsMember({"z", "y"}));
}

UpAxis ChosenUp(const ViewArguments& arguments) {
    return arguments.up == "y" ? UpAxis::kY : UpAxis::kZ;
}

StartView ChosenView(const ViewArguments& arguments, bool modelNamed) {
    if (arguments.view == "camera") {
        return StartView::kCamera;
    }
    if (arguments.view == "fit") {
        return StartView::kFit;
    }
    if (arguments.view == "original") {
        return StartView::kOriginal;
    }
    return arguments.view == "auto" || modelNamed ? StartView::kAuto : StartView::kOriginal;
}
