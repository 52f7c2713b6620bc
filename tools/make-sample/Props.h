// Small things of the sample town, each made of the solids in Shapes.h. `size` scales a
// tree: 1 is a street tree about 5 units high.
#pragma once

#include "tools/make-sample/Shapes.h"

void AddRoundTree(MeshBuilder& trunks, MeshBuilder& crowns, Vec2 at, float size);
void AddFir(MeshBuilder& trunks, MeshBuilder& crowns, Vec2 at, float size);

// A street lamp whose arm reaches `reach` units along x (negative: toward -x) from its pole.
void AddStreetLamp(MeshBuilder& poles, MeshBuilder& lights, Vec2 at, float reach);

// A bench with its length along y or x; its backrest lies on the side `backSign` (+1 or -1)
// of the short axis.
void AddBench(MeshBuilder& wood, Vec2 centre, bool alongY, float backSign);

// A bus shelter standing on `footprint`, open toward +x, its back pane along the low-x edge.
void AddShelter(MeshBuilder& frame, MeshBuilder& panes, Vec2 low, Vec2 high);
