// How a frame shows a model opened by OpenModel (ModelOpening.h): placed in the world as its
// Placement says, drawn by the drawer chosen when it was opened, and walked through or flown
// over (G switches); with an overlay, the card of keys (F1) and a notice on top, and F12 saves
// the picture.
#pragma once

#include <functional>
#include <memory>

#include "drawing/ModelDrawer.h"
#include "overlay/FrameOverlay.h"
#include "placement/ModelPlacement.h"
#include "render/SceneView.h"
#include "scene/Scene.h"
#include "viewer/ModelWalk.h"

class NamedModelView : public SceneView {
public:
    NamedModelView(Scene& scene, const Placement& placement, std::unique_ptr<ModelDrawer> drawer,
                   std::unique_ptr<ModelWalk> walk);

    // The camera moves as the walk walks or flies.
    void UpdateCamera() override;
    void MoveCamera() override;
    // A key let go in the window (a key-up message): G switches between walking and flying;
    // with an overlay, F1 shows or hides the card of keys and F12 saves the next frame drawn as
    // a picture (without the overlay) and says where.
    void KeyReleased(int virtualKey);
    // What is drawn on top of the model: shared by the views of one window, outliving them.
    void DrawOver(FrameOverlay* overlay) { overlay_ = overlay; }
    void DrawModel() override;

    // Called with whether the walk walks whenever G switches it, and once at once.
    void OnModeChange(std::function<void(bool walking)> listener);

    const Placement& placement() const { return placement_; }
    const ModelWalk& walk() const { return *walk_; }
    ModelWalk& walk() { return *walk_; }
    // The bytes the drawing holds beyond the model.
    std::size_t DrawingBytes() const { return drawer_->ArrayBytes(); }

private:
    // Saves the frame just drawn, before anything is drawn on top of it.
    void SavePicture();
    Scene& scene_;
    Placement placement_;
    std::unique_ptr<ModelDrawer> drawer_;
    std::unique_ptr<ModelWalk> walk_;
    std::function<void(bool walking)> modeChanged_;
    FrameOverlay* overlay_ = nullptr;
    bool pictureWanted_ = false;
};
