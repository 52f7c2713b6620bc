// The renderer's one door to what goes beyond the walk-through as made: what a frame shows of
// the scene. The walk-through's own run shows the Scene as it is, through its own camera and
// drawing; a model the user named is shown through a view of its own (viewer/), placed in the
// world and drawn with its materials, which the renderer is given once the model is open.
#pragma once

class SceneView {
public:
    virtual ~SceneView() = default;
    // Moves the camera one frame and multiplies the view onto the model-view matrix.
    virtual void UpdateCamera() = 0;
    // The same move without GL, for frames advanced but not drawn.
    virtual void MoveCamera() = 0;
    // Draws the model under the current matrix, light and fog.
    virtual void DrawModel() = 0;
};
