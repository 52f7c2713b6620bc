// The materials of the sample model. Colours are bright enough to tell apart under the dim
// light at the start of the sunrise.
#pragma once

class SampleScene;

namespace material {
inline constexpr char kGrass[] = "Grass";
inline constexpr char kAsphalt[] = "Asphalt";
inline constexpr char kPavement[] = "Pavement";
inline constexpr char kBrick[] = "Brick";
inline constexpr char kPlaster[] = "Plaster";
inline constexpr char kOchre[] = "Ochre";
inline constexpr char kConcrete[] = "Concrete";
inline constexpr char kGlass[] = "Glass";
inline constexpr char kRoofTile[] = "RoofTile";
inline constexpr char kSlate[] = "Slate";
inline constexpr char kBark[] = "Bark";
inline constexpr char kLeaves[] = "Leaves";
inline constexpr char kPine[] = "Pine";
inline constexpr char kSteel[] = "Steel";
inline constexpr char kLamp[] = "Lamp";
inline constexpr char kWood[] = "Wood";
inline constexpr char kWater[] = "Water";
inline constexpr char kMarble[] = "Marble";
inline constexpr char kSandstone[] = "Sandstone";
inline constexpr char kSignalRed[] = "SignalRed";
inline constexpr char kHillside[] = "Hillside";
}  // namespace material

void AddPalette(SampleScene& scene);
