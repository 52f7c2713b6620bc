#include "render/FixedState.h"

#include <GL/gl.h>

void SetFixedGlState() {
    glShadeModel(GL_FLAT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);  // every frame sets its own clear colour
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
}
