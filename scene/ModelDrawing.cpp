#include <GL/gl.h>

#include <memory>

#include "scene/MaterialDrawing.h"
#include "scene/Scene.h"

void Scene::DrawModel() {
    if (loaded == 0) {
        return;
    }
    // No push or pop: the next frame starts again from the identity.
    if (placed) {
        glTranslated(placement.worldTranslation[0], placement.worldTranslation[1],
                     placement.worldTranslation[2]);
        glScaled(placement.worldScale, placement.worldScale, placement.worldScale);
    }
    glScalef(modelScale, modelScale, modelScale);
    if (modelScale != 1.0f || (placed && placement.worldScale != 1.0)) {
        // The scale reaches the normals too; without this a model in other units is lit
        // brighter or darker. A scale of 1 leaves the normals as they are, unit length.
        glEnable(GL_NORMALIZE);
    }
    if (drawingStyle != DrawingStyle::kMeshColours) {
        const bool compiled = drawingStyle == DrawingStyle::kMaterials;
        if (!materialDrawing_ || materialDrawing_->Compiled() != compiled) {
            materialDrawing_ =
                std::make_shared<MaterialDrawing>(g_meshHead->next, ModelPath(), compiled);
        }
        materialDrawing_->Draw();
        g_meshCursor = nullptr;
        return;
    }
    glColor3f(1.0f, 1.0f, 1.0f);

    for (g_meshCursor = g_meshHead->next; g_meshCursor != nullptr;
         g_meshCursor = g_meshCursor->next) {
        const Mesh& mesh = *g_meshCursor;
        glBegin(GL_TRIANGLES);
        if (mesh.materialColor != nullptr) {
            glColor3f(mesh.materialColor[0], mesh.materialColor[1], mesh.materialColor[2]);
        } else {
            glColor3f(1.0f, 1.0f, 1.0f);
        }
        for (int i = 0; i < FaceCount(mesh); ++i) {
            if (!IsDrawable(mesh, i)) {
                continue;
            }
            const float* normal = mesh.normals + 3 * i;
            glNormal3f(normal[0], normal[1], normal[2]);
            const std::uint16_t* face = FaceRecord(mesh, i);
            float xyz[3];
            for (int corner = 0; corner < 3; ++corner) {
                ReadVertex(mesh, face[corner], xyz);
                glVertex3f(xyz[0], xyz[1], xyz[2]);
            }
        }
        glEnd();
    }
}

std::size_t Scene::DrawingBytes() const {
    return materialDrawing_ ? materialDrawing_->ArrayBytes() : 0;
}
