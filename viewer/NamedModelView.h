// How a frame shows a model opened by OpenModel (ModelOpening.h): placed in the world as its
// Placement says and drawn by the drawer chosen when it was opened.
#pragma once

#include <memory>

#include "drawing/ModelDrawer.h"
#include "placement/ModelPlacement.h"
#include "render/SceneView.h"
#include "scene/Scene.h"

class NamedModelView : public SceneView {
public:
    NamedModelView(Scene& scene, const Placement& placement, std::unique_ptr<ModelDrawer> drawer);

    void UpdateCamera() override;
    void MoveCamera() override;
    void DrawModel() override;

    const Placement& placement() const { return placement_; }
    // The bytes the drawing holds beyond the model.
    std::size_t DrawingBytes() const { return drawer_->ArrayBytes(); }

private:
    Scene& scene_;
    Placement placement_;
    std::unique_ptr<ModelDrawer> drawer_;
};
