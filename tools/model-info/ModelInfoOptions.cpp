#include "tools/model-info/ModelInfoOptions.h"

ParsedCommandLine<ModelInfoOptions> ParseModelInfoCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine<ModelInfoOptions> parsed;
    ModelInfoOptions& options = parsed.options;
    CLI::App app(
        "Loads the 3DS model FILE as the walk-through does and prints a summary with the\n"
        "problems the reader tolerated, with --dump every value it read, or with\n"
        "--dump-materials every material's details and how the meshes use them.\n",
        "model-info");
    AddToolConventions(app, "0 read, 1 cannot be opened or not a 3DS model");
    app.add_option("FILE", options.modelPath, "the 3DS model")->required();
    CLI::Option* dump =
        app.add_flag("--dump", options.dump, "print every value read instead of the summary");
    app.add_flag("--dump-materials", options.dumpMaterials,
                 "print the materials' details and their use by the meshes instead")
        ->excludes(dump);
    parsed.stop = ReadCommandLine(app, argc, argv);
    return parsed;
}
