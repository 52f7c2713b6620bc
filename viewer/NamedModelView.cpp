#include "viewer/NamedModelView.h"

#include <GL/gl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/common/PictureNames.h"
#include "render/FrameCapture.h"

NamedModelView::NamedModelView(Scene& scene, const Placement& placement,
                               std::unique_ptr<ModelDrawer> drawer, std::unique_ptr<ModelWalk> walk)
    : scene_(scene), placement_(placement), drawer_(std::move(drawer)), walk_(std::move(walk)) {}

void NamedModelView::OnModeChange(std::function<void(bool walking)> listener) {
    modeChanged_ = std::move(listener);
    if (modeChanged_) {
        modeChanged_(walk_->Walking());
    }
}

void NamedModelView::KeyReleased(int virtualKey) {
    if (overlay_ != nullptr && virtualKey == platform::kKeyF1) {
        overlay_->card.Toggle();
    }
    if (overlay_ != nullptr && virtualKey == platform::kKeyF12) {
        pictureWanted_ = true;
    }
    if (virtualKey != platform::kKeyG) {
        return;
    }
    if (walk_->Walking()) {
        walk_->Fly();
    } else {
        walk_->WalkFromEye(scene_);
    }
    if (modeChanged_) {
        modeChanged_(walk_->Walking());
    }
}

void NamedModelView::UpdateCamera() {
    MoveCamera();
    scene_.MultiplyView();
}

void NamedModelView::MoveCamera() {
    if (overlay_ != nullptr) {
        overlay_->AdvanceFrame();
    }
    if (walk_->Walking()) {
        walk_->Move(scene_);
    } else {
        scene_.MoveCamera();
    }
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
    if (overlay_ == nullptr) {
        return;
    }
    if (pictureWanted_) {
        SavePicture();
    }
    overlay_->Draw();
}

void NamedModelView::SavePicture() {
    pictureWanted_ = false;
    std::vector<std::uint8_t> rgb;
    int width = 0;
    int height = 0;
    std::string why = "the window shows nothing";
    std::string saved;
    if (ReadFrameRgb(rgb, width, height)) {
        saved = platform::SavePicture(platform::pictures::ModelNameOf(scene_.ModelPath()),
                                      rgb.data(), width, height, why);
    }
    const std::string line = saved.empty() ? "Not saved: " + why : "Saved " + saved;
    std::fprintf(saved.empty() ? stderr : stdout, "walkthrough: %s\n", line.c_str());
    overlay_->notice.ShowFor(line, 4 * 75);
}
