#include "tools/make-sample/MakeSampleOptions.h"

ParsedCommandLine<MakeSampleOptions> ParseMakeSampleCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine<MakeSampleOptions> parsed;
    MakeSampleOptions& options = parsed.options;
    CLI::App app(
        "Writes the sample scene DIR/kelm.3ds and its sound DIR/groud.wav, creating DIR if\n"
        "needed. Run the walk-through from DIR to walk through them. With --textured the scene\n"
        "comes with texture maps, glass, smooth shading and a banner, and its images beside it.\n",
        "make-sample");
    AddToolConventions(app, "0 written, 1 a file is there already or cannot be written");
    const CLI::Validator notEmpty(
        [](std::string& text) {
            return text.empty() ? std::string("must not be empty") : std::string();
        },
        "");
    app.add_option("DIR", options.directory, "where the two files go")->required()->check(notEmpty);
    app.add_flag("--force", options.force, "replace the files if they are there");
    app.add_flag("--textured", options.textured,
                 "write the textured sample: kelm.3ds, groud.wav and its PNG images");
    parsed.stop = ReadCommandLine(app, argc, argv);
    return parsed;
}
