// The one top-level object: owns the rendering context on the window, the projection, the
// four values that animate the sunrise, and the scene.
#pragma once

#include "platform/Platform.h"
#include "scene/Scene.h"

class SceneRenderer {
public:
    // Constructs the scene first (which loads the model), then the animation values.
    explicit SceneRenderer(const char* modelPath = "kelm.3ds");
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
    // Reads another model in place of the one shown, places it as `view` says and starts the
    // sunrise again. Returns whether the walk starts at a camera of the file.
    bool OpenModel(const char* modelPath, StartView view, const ViewFitOptions& options);

    Scene scene;
    platform::DeviceContext hdc = nullptr;
    platform::RenderContext hglrc = nullptr;
    // Sunrise: single precision, advanced once per frame.
    float fogEnd;
    float sunRed;
    float sunGreenBlue;
    float sunAngle;

private:
    void StartSunrise();
};
