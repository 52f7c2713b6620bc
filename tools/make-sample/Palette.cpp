#include "tools/make-sample/Palette.h"

#include "tools/make-sample/SampleScene.h"

void AddPalette(SampleScene& scene) {
    scene.AddMaterial(material::kGrass, 84, 140, 64);
    scene.AddMaterial(material::kAsphalt, 70, 72, 80);
    scene.AddMaterial(material::kPavement, 160, 154, 142);
    scene.AddMaterial(material::kBrick, 178, 82, 58);
    scene.AddMaterial(material::kPlaster, 232, 220, 190);
    scene.AddMaterial(material::kOchre, 214, 160, 70);
    scene.AddMaterial(material::kConcrete, 150, 152, 160);
    scene.AddMaterial(material::kGlass, 96, 146, 204);
    scene.AddMaterial(material::kRoofTile, 150, 52, 36);
    scene.AddMaterial(material::kSlate, 76, 82, 100);
    scene.AddMaterial(material::kBark, 104, 70, 40);
    scene.AddMaterial(material::kLeaves, 58, 138, 50);
    scene.AddMaterial(material::kPine, 34, 100, 58);
    scene.AddMaterial(material::kSteel, 140, 150, 170);
    scene.AddMaterial(material::kLamp, 255, 240, 180);
    scene.AddMaterial(material::kWood, 140, 96, 56);
    scene.AddMaterial(material::kWater, 60, 110, 170);
    scene.AddMaterial(material::kMarble, 236, 234, 226);
    scene.AddMaterial(material::kSandstone, 222, 190, 130);
    scene.AddMaterial(material::kSignalRed, 220, 40, 40);
    scene.AddMaterial(material::kHillside, 110, 128, 66);
}
