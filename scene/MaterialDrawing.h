// Drawing a model as its author made it, from its batches (MaterialBatches.h): a colour per
// material, textures modulated by the light and the fog, smooth normals, two-sided materials
// and a transparent pass after the opaque one.
#pragma once

#include <vector>

#include "scene/MaterialBatches.h"

class MaterialDrawing {
public:
    explicit MaterialDrawing(MaterialBatches batches);
    // Issues no GL call: the context may be gone. The texture objects and display lists are
    // deleted at the next upload, when a context is current again.
    ~MaterialDrawing();
    MaterialDrawing(const MaterialDrawing&) = delete;
    MaterialDrawing& operator=(const MaterialDrawing&) = delete;

    // Under the current matrix, light and fog; uploads the textures and the batches the first
    // time. Leaves the GL state as it found it, with flat shading.
    void Draw();

private:
    void Upload();
    void UploadTextures();
    void CompileBatches();
    // One batch's faces from the vertex arrays.
    void DrawArrays(const MaterialBatch& batch) const;
    void DrawPass(bool transparent) const;

    MaterialBatches batches_;
    std::vector<unsigned int> textureNames_;  // by image
    // The batches' display lists, from firstList_ on, once compiled; 0 while the arrays are
    // drawn each frame.
    unsigned int firstList_ = 0;
    bool uploaded_ = false;
};
