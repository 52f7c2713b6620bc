// Drawing a model as its author made it, from its batches (MaterialBatches.h): a colour per
// material, textures modulated by the light and the fog, flat or smooth shading, two-sided
// materials and a transparent pass after the opaque one.
//
// Compiled, the batches are laid out once in spatial parts with shared vertices, and a frame
// draws from their vertex arrays only the parts in view. Uncompiled, every face goes through
// glBegin and glEnd every frame, in file order: the same picture, for measuring and testing the
// compiled drawing against.
#pragma once

#include <vector>

#include "drawing/MaterialBatches.h"
#include "drawing/ModelDrawer.h"
#include "drawing/ViewFrustum.h"
#include "images/ImageBudget.h"

class MaterialDrawing : public ModelDrawer {
public:
    // Lays out the meshes from `firstMesh` on, their vertices placed as `placement` says, drawn
    // at `masterScale`. The textures are looked for beside `modelPath`, decoded within
    // `textures` and uploaded one by one, before the layout: a GL context must be current.
    // `laidOut` is told of each mesh once the layout reads it no more.
    MaterialDrawing(const Mesh* firstMesh, float masterScale, const std::string& modelPath,
                    const TextureLimits& textures, bool compiled,
                    const VertexPlacement& placement = {}, const MeshLaidOut& laidOut = nullptr);
    // Issues no GL call: the context may be gone. The texture objects are deleted at the next
    // upload, when a context is current again.
    ~MaterialDrawing() override;
    MaterialDrawing(const MaterialDrawing&) = delete;
    MaterialDrawing& operator=(const MaterialDrawing&) = delete;

    // Under the current matrix, light and fog, scaled by the master scale. Leaves the GL state
    // as it found it, with flat shading.
    void Draw() override;
    // What the vertex arrays hold, in bytes.
    std::size_t ArrayBytes() const override;
    // The batches as laid out: every drawable face of the model, placed, once.
    const MaterialBatches& Batches() const { return batches_; }

private:
    // Calls `visit(data, bytes)` for every vertex and index array the parts are drawn from:
    // they keep their contents as long as this drawing lives.
    template <class Visit>
    void ForEachArray(const Visit& visit) const;
    ViewFrustum CurrentView() const;
    // The parts of the opaque or the transparent batches, leaving out those outside `frustum`
    // (the uncompiled drawing's frustum leaves out nothing); the corners sent since the last
    // flush are counted in `cornersSent`.
    void DrawPass(bool transparent, const ViewFrustum& frustum, std::size_t& cornersSent) const;
    void DrawArrays(const MaterialBatch& batch, const DrawingPart& part) const;
    void DrawImmediately(const MaterialBatch& batch, const DrawingPart& part) const;

    float masterScale_;
    bool compiled_;
    MaterialBatches batches_;
    std::vector<unsigned int> textureNames_;  // by texture index
};
