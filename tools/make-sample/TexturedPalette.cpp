#include "tools/make-sample/TexturedPalette.h"

#include <cctype>

#include "tools/make-sample/Palette.h"

namespace {

struct Dressing {
    const char* material;
    std::optional<Pattern> pattern;
    const char* mapName;
    float tileSize;
    std::uint16_t transparency;
    bool smooth;
};

// Plaster, ochre, slate, steel and the rest keep their plain colours.
// clang-format off
const Dressing kDressings[] = {
    {material::kGrass,    Pattern::kGrass,    "GRASS.PNG",    6.0f, 0,  false},
    {material::kAsphalt,  Pattern::kAsphalt,  "ASPHALT.PNG",  8.0f, 0,  false},
    {material::kPavement, Pattern::kPavement, "PAVEMENT.PNG", 2.0f, 0,  false},
    {material::kBrick,    Pattern::kBrick,    "BRICK.PNG",    2.0f, 0,  false},
    {material::kConcrete, Pattern::kConcrete, "CONCRETE.PNG", 4.0f, 0,  false},
    {material::kGlass,    Pattern::kWindows,  "GLASS.PNG",    4.0f, 35, false},
    {material::kRoofTile, Pattern::kRoofTile, "ROOFTILE.PNG", 2.0f, 0,  false},
    {material::kBark,     Pattern::kBark,     "BARK.PNG",     1.0f, 0,  false},
    {material::kWood,     Pattern::kWood,     "WOOD.PNG",     1.5f, 0,  false},
    {material::kLeaves,   std::nullopt,       "",             1.0f, 0,  true},
    {material::kPine,     std::nullopt,       "",             1.0f, 0,  true},
    {material::kWater,    std::nullopt,       "",             1.0f, 20, true},
    {material::kHillside, std::nullopt,       "",             1.0f, 0,  true},
};
// clang-format on

}  // namespace

std::vector<TexturedMaterial> DressPalette(const std::vector<SceneMaterial>& palette) {
    std::vector<TexturedMaterial> materials;
    for (const SceneMaterial& colour : palette) {
        TexturedMaterial dressed{colour, std::nullopt, ""};
        for (const Dressing& dressing : kDressings) {
            if (colour.name == dressing.material) {
                dressed.pattern = dressing.pattern;
                dressed.mapName = dressing.mapName;
                dressed.tileSize = dressing.tileSize;
                dressed.transparency = dressing.transparency;
                dressed.smooth = dressing.smooth;
            }
        }
        materials.push_back(dressed);
    }
    // The banner's coordinates run 0 to 1 across it once: the map repeats its stripes three
    // times and starts half a stripe in.
    TexturedMaterial banner{{material::kBanner, 200, 40, 40}, Pattern::kBanner, "BANNER.PNG"};
    banner.uScale = 3.0f;
    banner.uOffset = 0.125f;
    banner.twoSided = true;
    materials.push_back(banner);
    return materials;
}

std::string MapFileName(const std::string& mapName) {
    std::string name = mapName;
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}
