#include "viewer/NamedModelView.h"

#include <GL/gl.h>

NamedModelView::NamedModelView(Scene& scene, const Placement& placement,
                               std::unique_ptr<ModelDrawer> drawer)
    : scene_(scene), placement_(placement), drawer_(std::move(drawer)) {}

void NamedModelView::UpdateCamera() {
    scene_.UpdateCamera();
}

void NamedModelView::MoveCamera() {
    scene_.MoveCamera();
}

void NamedModelView::DrawModel() {
    if (scene_.loaded == 0) {
        return;
    }
    // No push or pop: the next frame starts again from the identity.
    if (placement_.placed) {
        const ViewFit& fit = placement_.fit;
        glTranslated(fit.worldTranslation[0], fit.worldTranslation[1], fit.worldTranslation[2]);
        glScaled(fit.worldScale, fit.worldScale, fit.worldScale);
        if (fit.worldScale != 1.0) {
            // The fitted scale reaches the normals too: GL renormalises them.
            glEnable(GL_NORMALIZE);
        }
    }
    drawer_->Draw();
}
