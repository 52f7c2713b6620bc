#include "tools/make-sample/SceneLayout.h"

#include "tools/make-sample/Ground.h"
#include "tools/make-sample/Landmarks.h"
#include "tools/make-sample/Palette.h"
#include "tools/make-sample/Random.h"
#include "tools/make-sample/Town.h"
#include "tools/make-sample/TownPlan.h"

SampleScene BuildSampleScene() {
    SampleScene scene;
    AddPalette(scene);
    const TownPlan plan = MakeTownPlan();
    Random random(20240611u);
    AddTown(scene, plan, random);
    AddLandmarks(scene, random);
    AddGround(scene, plan);
    return scene;
}
