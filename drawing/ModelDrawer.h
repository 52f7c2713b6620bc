// The room that draws a model the user named as its author made it: batches of faces by
// material, laid out once in parts with their own vertex arrays, smooth normals from smoothing
// groups, the frustum that leaves out parts out of view, and the material drawing itself with
// its own second thread for the layout. It draws with OpenGL 1.1 and may call images/ (texture
// images), scene/ (the model lists) and platform/; nothing here knows the command line.
#pragma once

#include <cstddef>

// One way of drawing an opened model, chosen when it is opened: under the current matrix,
// light and fog, in the model's own coordinates times its master scale.
class ModelDrawer {
public:
    virtual ~ModelDrawer() = default;
    virtual void Draw() = 0;
    // The bytes this drawing holds beyond the model: its vertex arrays.
    virtual std::size_t ArrayBytes() const { return 0; }
};
