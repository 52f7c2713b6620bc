// The materials of the textured sample: the sample's palette dressed with texture maps,
// transparent glass, smoothly shaded curved things, and a two-sided banner of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/make-sample/SampleScene.h"
#include "tools/make-sample/TexturePatterns.h"

namespace material {
inline constexpr char kBanner[] = "Banner";
}  // namespace material

struct TexturedMaterial {
    SceneMaterial colour;
    // Diffuse texture map 1: its image and the name the model gives it, 8.3 and upper case as
    // modelling programs write them (the file itself is written in lower case).
    std::optional<Pattern> pattern;
    std::string mapName;
    float tileSize = 1.0f;  // world units one repeat of the image covers
    float uScale = 1.0f, vScale = 1.0f, uOffset = 0.0f, vOffset = 0.0f;
    std::uint16_t transparency = 0;  // percent
    bool twoSided = false;
    bool smooth = false;  // its sloping faces share a smoothing group
};

// Every material of the plain palette, in its order, then the banner.
std::vector<TexturedMaterial> DressPalette(const std::vector<SceneMaterial>& palette);

// The file name a map is written under: its name in lower case.
std::string MapFileName(const std::string& mapName);
