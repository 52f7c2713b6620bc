#include <GL/gl.h>

#include "scene/Scene.h"

void Scene::DrawModel() {
    if (loaded == 0) {
        return;
    }
    // No push or pop: the next frame starts again from the identity.
    glScalef(modelScale, modelScale, modelScale);
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
        const int faceCount = mesh.faces != nullptr ? mesh.faces[0] : 0;
        for (int i = 0; i < faceCount; ++i) {
            const std::uint16_t* face = mesh.faces + 1 + 4 * i;
            // A face naming a vertex the mesh does not have is left out.
            if (face[0] >= mesh.vertexCount || face[1] >= mesh.vertexCount ||
                face[2] >= mesh.vertexCount) {
                continue;
            }
            const float* normal = mesh.normals + 3 * i;
            glNormal3f(normal[0], normal[1], normal[2]);
            float xyz[3];
            for (int corner = 0; corner < 3; ++corner) {
                ReadVertex(mesh, face[corner], xyz);
                glVertex3f(xyz[0], xyz[1], xyz[2]);
            }
        }
        glEnd();
    }
}
