// How a frame shows a model opened by OpenModel (ModelOpening.h): placed in the world as its
// Placement says, drawn by the drawer chosen when it was opened, and walked through or flown
// over (G switches).
#pragma once

#include <functional>
#include <memory>

#include "drawing/ModelDrawer.h"
#include "placement/ModelPlacement.h"
#include "render/SceneView.h"
#include "scene/Scene.h"
#include "viewer/ModelWalk.h"

class NamedModelView : public SceneView {
public:
    NamedModelView(Scene& scene, const Placement& placement, std::unique_ptr<ModelDrawer> drawer,
                   std::unique_ptr<ModelWalk> walk);

    // G, pressed while the window has the focus, switches between walking and flying; then the
    // camera moves as the one or the other.
    void UpdateCamera() override;
    void MoveCamera() override;
    void DrawModel() override;

    // Called with whether the walk walks whenever G switches it, and once at once.
    void OnModeChange(std::function<void(bool walking)> listener);

    const Placement& placement() const { return placement_; }
    const ModelWalk& walk() const { return *walk_; }
    ModelWalk& walk() { return *walk_; }
    // The bytes the drawing holds beyond the model.
    std::size_t DrawingBytes() const { return drawer_->ArrayBytes(); }

private:
    void FollowModeKey();

    Scene& scene_;
    Placement placement_;
    std::unique_ptr<ModelDrawer> drawer_;
    std::unique_ptr<ModelWalk> walk_;
    std::function<void(bool walking)> modeChanged_;
    bool modeKeyHeld_ = false;
};
