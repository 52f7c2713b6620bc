// model-info: loads a 3DS model with the walk-through's own reader and prints what it read.
// See ModelInfoOptions.h for the command line.
#include <cstdio>

#include "scene/ModelFileCheck.h"
#include "scene/Scene.h"
#include "tools/model-info/MaterialReport.h"
#include "tools/model-info/ModelInfoOptions.h"
#include "tools/model-info/ModelReport.h"

namespace {

constexpr int kExitRead = 0;
constexpr int kExitNotRead = 1;

int NotRead(const std::string& why) {
    std::fprintf(stderr, "model-info: %s\n", why.c_str());
    return kExitNotRead;
}

int Inspect(const ModelInfoOptions& options) {
    // The reader walks anything it can open; a file that is not a model is refused first.
    if (const auto problem = CheckModelFile(options.modelPath)) {
        return NotRead(DescribeModelFileProblem(options.modelPath, *problem));
    }
    Scene scene(options.modelPath.c_str());  // destroyed before returning: the release runs too
    if (!scene.loaded) {
        return NotRead("cannot open " + options.modelPath);
    }
    if (options.dump) {
        PrintDump(scene, stdout);
    } else if (options.dumpMaterials) {
        PrintMaterialDump(scene, stdout);
    } else {
        PrintSummary(scene, options.modelPath.c_str(), stdout);
    }
    return kExitRead;
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedCommandLine<ModelInfoOptions> parsed = ParseModelInfoCommandLine(argc, argv);
    if (parsed.stop) {
        return PrintStop(*parsed.stop);
    }
    return Inspect(parsed.options);
}
