#include "app/RunOptions.h"

#include <filesystem>
#include <system_error>

#include "scene/FileOpen.h"

namespace {

// groud.wav beside the model when it is there; silence otherwise.
std::string SoundBesideModel(const std::string& modelPath) {
    const std::filesystem::path sound =
        PathFromUtf8(modelPath.c_str()).parent_path() / kDefaultSoundFile;
    std::error_code ignored;
    return std::filesystem::is_regular_file(sound, ignored) ? sound.u8string() : std::string();
}

}  // namespace

ParsedCommandLine<RunOptions> ParseRunCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine<RunOptions> parsed;
    RunOptions& options = parsed.options;
    CLI::App app(
        "Walks through the 3DS model MODEL under a rising sun: the mouse looks, W S A D and the\n"
        "arrows walk and turn, Page Up and Down rise and sink, Shift hurries, Escape ends.\n"
        "Without MODEL: kelm.3ds and groud.wav from the working folder, after asking whether\n"
        "to run full screen. A .3ds file dropped on the window opens in place.\n",
        "walkthrough");
    AddToolConventions(app, "0 done, 1 the model cannot be read or no window could be opened");
    CLI::Option* fullScreen = app.add_flag(
        "--fullscreen", "full screen without asking (with MODEL: a window covering the desktop)");
    app.add_flag("--windowed", "an 800x600 window without asking (the default with MODEL)")
        ->excludes(fullScreen);
    ViewArguments view;
    AddViewOptions(app, view);
    std::string sound;
    CLI::Option* soundOption =
        app.add_option("--sound", sound, "play FILE once (default: groud.wav beside MODEL)");
    app.add_flag("--no-sound", "play nothing")->excludes(soundOption);
    app.add_option("MODEL", options.modelPath, "the 3DS model to walk through");
    parsed.stop = ReadCommandLine(app, argc, argv);
    if (parsed.stop) {
        return parsed;
    }

    options.modelNamed = app.count("MODEL") > 0;
    options.drawMaterials = options.modelNamed;
    options.view = ChosenView(view, options.modelNamed);
    options.droppedView = ChosenView(view, true);
    options.scale = view.scale;
    options.up = options.droppedUp = ChosenUp(view);
    if (options.modelNamed) {
        options.display = DisplayChoice::kWindowed;
        options.switchDisplayMode = false;
        options.soundPath = SoundBesideModel(options.modelPath);
    }
    if (app.count("--fullscreen") > 0) {
        options.display = DisplayChoice::kFullScreen;
    } else if (app.count("--windowed") > 0) {
        options.display = DisplayChoice::kWindowed;
    }
    if (app.count("--sound") > 0) {
        options.soundPath = sound;
    } else if (app.count("--no-sound") > 0) {
        options.soundPath.clear();
    }
    return parsed;
}
