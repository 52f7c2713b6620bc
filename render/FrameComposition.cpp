#include <GL/gl.h>

#include <cmath>

#include "render/SceneRenderer.h"

namespace {

// The sunrise, in frames: the light climbs 135 degrees and brightens from 0.05 to 0.4 over
// 4500 frames, the red leading by a factor of five until it reaches 0.2; the fog's end
// recedes from 100 to 4000 units. The fields are single precision; every update is computed
// in double precision and rounded when stored.
void AdvanceSunrise(float& sunAngle, float& sunGreenBlue, float& sunRed, float& fogEnd) {
    if (sunAngle < 145.0) {
        sunAngle = static_cast<float>(static_cast<double>(sunAngle) + 0.03);
    }
    if (sunGreenBlue < 0.4) {
        sunGreenBlue = static_cast<float>(static_cast<double>(sunGreenBlue) + 0.35 / 4500.0);
    }
    if (sunRed < 0.4) {
        if (sunRed < 0.2) {
            sunRed = static_cast<float>(static_cast<double>(sunRed) + 0.35 / 900.0);
        }
        if (sunRed < sunGreenBlue) {
            sunRed = sunGreenBlue;
        }
    }
    if (fogEnd < 4000.0f) {
        fogEnd = static_cast<float>(static_cast<double>(fogEnd) + 8.0 / 9.0);
    }
}

}  // namespace

int SceneRenderer::RenderFrame() {
    glClearColor(0.0f, 0.0f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    view_->UpdateCamera();

    AdvanceSunrise(sunAngle, sunGreenBlue, sunRed, fogEnd);

    const GLfloat ambientLight[4] = {sunRed, sunGreenBlue, sunGreenBlue, 1.0f};
    const GLfloat diffuseLight[4] = {sunRed, sunGreenBlue, sunGreenBlue, 1.0f};
    const double theta = static_cast<double>(sunAngle) * 3.14159 / 180.0;
    const GLfloat lightPos[4] = {static_cast<float>(std::cos(theta) * -6000.0), 600.0f,
                                 static_cast<float>(std::sin(theta) * 6000.0), 1.0f};

    // Given after the view transform, so the light stands still in the world as the camera
    // moves, and before the model's scale, so it does not scale with the model.
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambientLight);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuseLight);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPos);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambientLight);

    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);

    const GLfloat fogColor[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fogColor);
    glFogf(GL_FOG_START, 1.0f);
    glFogf(GL_FOG_END, fogEnd);
    glHint(GL_FOG_HINT, GL_FASTEST);

    view_->DrawModel();

    glFlush();
    return platform::SwapFrontAndBack(hdc) ? 1 : 0;
}

void SceneRenderer::AdvanceFrame() {
    view_->MoveCamera();
    AdvanceSunrise(sunAngle, sunGreenBlue, sunRed, fogEnd);
}
