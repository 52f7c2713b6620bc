// The one top-level object: owns the rendering context on the window, the projection, the
// four values that animate the sunrise, and the scene. The render room calls scene/ and
// platform/ only; what a frame shows beyond the scene as made comes through SceneView.h.
#pragma once

#include "platform/Platform.h"
#include "render/SceneView.h"
#include "scene/Scene.h"

class SceneRenderer {
public:
    // Constructs the scene first (which loads the model), then the animation values.
    explicit SceneRenderer(const char* modelPath = kDefaultModelFile);
    // Releases the context, then the scene.
    virtual ~SceneRenderer();
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    // Chooses a pixel format on `dc`, creates and binds the rendering context. 1 when a pixel
    // format was found, 0 (after a warning box) when none was; `hdc` is kept either way.
    int CreateContext(platform::DeviceContext dc);
    void Resize(int width, int height);
    // Unbinds and deletes the context. Harmless without a context and when repeated.
    void ReleaseContext();
    // Draws and presents one frame; returns the buffer swap's result.
    int RenderFrame();
    // Advances one frame without drawing it: the camera and the sunrise move as RenderFrame
    // moves them. Drawing changes no state of the program, so any frame can be drawn after
    // the ones before it were only advanced.
    void AdvanceFrame();
    // Frames show the scene through `view` from now on; null: through the scene's own camera
    // and drawing, as at construction. The view outlives its use here.
    void ShowThrough(SceneView* view);
    // The sunrise starts again from its first frame (a new model was opened).
    void StartSunrise();

    Scene scene;
    platform::DeviceContext hdc = nullptr;
    platform::RenderContext hglrc = nullptr;
    // Sunrise: single precision, advanced once per frame.
    float fogEnd;
    float sunRed;
    float sunGreenBlue;
    float sunAngle;

private:
    // The scene as it is: its own camera and drawing.
    class OwnView : public SceneView {
    public:
        explicit OwnView(Scene& scene) : scene_(scene) {}
        void UpdateCamera() override { scene_.UpdateCamera(); }
        void MoveCamera() override { scene_.MoveCamera(); }
        void DrawModel() override { scene_.DrawModel(); }

    private:
        Scene& scene_;
    };
    OwnView ownView_{scene};
    SceneView* view_ = &ownView_;
};
