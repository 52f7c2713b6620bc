#include "render/SceneRenderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "scene/ViewConstants.h"

namespace {
// "No suitable display mode was found."
constexpr const char* kNoPixelFormatText = "没找到合适的显示模式";
constexpr const char* kNoPixelFormatCaption = "Error";
}  // namespace

SceneRenderer::SceneRenderer(const char* modelPath) : scene(modelPath) {
    StartSunrise();
}

void SceneRenderer::StartSunrise() {
    fogEnd = 100.0f;
    sunRed = 0.05f;
    sunGreenBlue = 0.05f;
    sunAngle = 10.0f;
}

void SceneRenderer::ShowThrough(SceneView* view) {
    view_ = view != nullptr ? view : &ownView_;
}

SceneRenderer::~SceneRenderer() {
    ReleaseContext();
}

int SceneRenderer::CreateContext(platform::DeviceContext dc) {
    hdc = dc;

    platform::PixelFormatRequest pfd;
    pfd.size = 40;
    pfd.version = 1;
    pfd.flags =
        platform::kPixelDrawToWindow | platform::kPixelSupportOpenGL | platform::kPixelDoubleBuffer;
    pfd.pixelType = platform::kPixelTypeRgba;
    pfd.colorBits = 16;
    pfd.depthBits = 16;
    pfd.layerType = platform::kPixelMainPlane;

    const int format = platform::ChoosePixelFormat(hdc, pfd);
    if (format == 0) {
        platform::ShowWarning(kNoPixelFormatText, kNoPixelFormatCaption);
        return 0;
    }
    platform::SetPixelFormat(hdc, format, pfd);
    hglrc = platform::CreateRenderContext(hdc);
    platform::MakeContextCurrent(hdc, hglrc);
    return 1;
}

void SceneRenderer::Resize(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    gluPerspective(view::kFieldOfViewDegrees, aspect, static_cast<double>(view::kNearPlane),
                   view::kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void SceneRenderer::ReleaseContext() {
    // Escape, the close message and the destructor may all release; only a live context is
    // unbound and deleted, once.
    if (hglrc == nullptr) {
        return;
    }
    platform::MakeContextCurrent(hdc, nullptr);
    platform::DeleteRenderContext(hglrc);
    hglrc = nullptr;
}
