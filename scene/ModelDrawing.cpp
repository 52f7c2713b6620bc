#include <GL/gl.h>

#include "scene/Scene.h"

void Scene::DrawModel() {
    if (loaded == 0) {
        return;
    }
    // No push or pop: the next frame starts again from the identity.
    glScalef(modelScale, modelScale, modelScale);
    if (modelScale != 1.0f) {
        // The scale reaches the normals too; without this a model in other units is lit
        // brighter or darker. A scale of 1 leaves the normals as they are, unit length.
        glEnable(GL_NORMALIZE);
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
