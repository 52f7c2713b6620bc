#include "tools/model-info/ModelInfoOptions.h"

ParsedCommandLine<ModelInfoOptions> ParseModelInfoCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine<ModelInfoOptions> parsed;
    ModelInfoOptions& options = parsed.options;
    CLI::App app(
        "Loads the 3DS model FILE as the walk-through does and prints a summary with the\n"
        "problems the reader tolerated, or with --dump every value it read.\n",
        "model-info");
    AddToolConventions(app, "0 read, 1 cannot be opened or not a 3DS model");
    app.add_option("FILE", options.modelPath, "the 3DS model")->required();
    app.add_flag("--dump", options.dump, "print every value read instead of the summary");
    parsed.stop = ReadCommandLine(app, argc, argv);
    return parsed;
}
