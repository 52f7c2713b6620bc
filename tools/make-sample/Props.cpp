#include "tools/make-sample/Props.h"

#include <algorithm>

void AddRoundTree(MeshBuilder& trunks, MeshBuilder& crowns, Vec2 at, float size) {
    // The trunk's top ends inside the crown, so it needs no cap.
    AddCylinder(trunks, at, 0, 2.4f * size, 0.25f * size, 6, Caps::kNone);
    AddSphere(crowns, {at.x, at.y, 3.6f * size}, 1.6f * size, 6, 4);
}

void AddFir(MeshBuilder& trunks, MeshBuilder& crowns, Vec2 at, float size) {
    AddCylinder(trunks, at, 0, 1.2f * size, 0.22f * size, 6, Caps::kNone);
    AddCone(crowns, at, 1.0f * size, 5.0f * size, 1.7f * size, 7, true);
    AddCone(crowns, at, 3.0f * size, 7.0f * size, 1.2f * size, 7, true);
}

void AddStreetLamp(MeshBuilder& poles, MeshBuilder& lights, Vec2 at, float reach) {
    constexpr float kHeight = 5.6f;
    AddBox(poles, {at.x - 0.12f, at.y - 0.12f, 0}, {at.x + 0.12f, at.y + 0.12f, kHeight});
    const float end = at.x + reach;
    AddBox(poles, {std::min(at.x, end), at.y - 0.06f, kHeight - 0.2f},
           {std::max(at.x, end), at.y + 0.06f, kHeight}, Caps::kTopAndBottom);
    AddBox(lights, {end - 0.3f, at.y - 0.2f, kHeight - 0.45f},
           {end + 0.3f, at.y + 0.2f, kHeight - 0.15f}, Caps::kTopAndBottom);
}

void AddBench(MeshBuilder& wood, Vec2 centre, bool alongY, float backSign) {
    const float halfLength = 0.9f;
    const float halfWidth = 0.25f;
    const auto box = [&](float across0, float across1, float z0, float z1) {
        if (alongY) {
            AddBox(wood, {centre.x + across0, centre.y - halfLength, z0},
                   {centre.x + across1, centre.y + halfLength, z1});
        } else {
            AddBox(wood, {centre.x - halfLength, centre.y + across0, z0},
                   {centre.x + halfLength, centre.y + across1, z1});
        }
    };
    box(-halfWidth, halfWidth, 0, 0.45f);
    const float back = backSign * halfWidth;
    box(std::min(back, back - backSign * 0.1f), std::max(back, back - backSign * 0.1f), 0.45f,
        0.95f);
}

void AddShelter(MeshBuilder& frame, MeshBuilder& panes, Vec2 low, Vec2 high) {
    constexpr float kRoof = 2.4f;
    // The pane and the posts end under the roof, so they need no top.
    AddBox(panes, {low.x, low.y, 0}, {low.x + 0.08f, high.y, kRoof}, Caps::kNone);
    AddBox(frame, {high.x - 0.1f, low.y, 0}, {high.x, low.y + 0.1f, kRoof}, Caps::kNone);
    AddBox(frame, {high.x - 0.1f, high.y - 0.1f, 0}, {high.x, high.y, kRoof}, Caps::kNone);
    AddBox(frame, {low.x - 0.1f, low.y - 0.1f, kRoof},
           {high.x + 0.1f, high.y + 0.1f, kRoof + 0.15f}, Caps::kTopAndBottom);
}
