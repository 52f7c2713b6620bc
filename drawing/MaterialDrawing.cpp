#include "drawing/MaterialDrawing.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <utility>

#include "images/ModelTextures.h"
#include "platform/Platform.h"

namespace {

// A software renderer (llvmpipe) sorts the triangles of everything sent before a flush into
// the tiles of the picture before it draws any: a flush every so many triangles lets it draw
// those while the rest are sent, and bounds the memory it sorts them in (tens of megabytes for
// a big model sent whole). A hardware driver takes a flush as a hint.
constexpr std::size_t kCornersPerFlush = 3 * 8192;

// Texture objects of models no longer shown, deleted with the next upload.
std::vector<GLuint>& StaleTextures() {
    static std::vector<GLuint> stale;
    return stale;
}

// Turns a batch's texture, two-sided lighting and smooth shading on or off when they change.
class BatchState {
public:
    void Apply(const MaterialBatch& batch, const std::vector<GLuint>& textureNames) {
        const bool textured = batch.texture >= 0;
        if (textured != textured_) {
            if (textured) {
                glEnable(GL_TEXTURE_2D);
            } else {
                glDisable(GL_TEXTURE_2D);
            }
            textured_ = textured;
        }
        if (textured) {
            glBindTexture(GL_TEXTURE_2D, textureNames[static_cast<std::size_t>(batch.texture)]);
        }
        if (batch.twoSided != twoSided_) {
            SetTwoSided(batch.twoSided);
        }
        if (batch.smooth != smooth_) {
            glShadeModel(batch.smooth ? GL_SMOOTH : GL_FLAT);
            smooth_ = batch.smooth;
        }
    }
    void Restore() {
        if (textured_) {
            glDisable(GL_TEXTURE_2D);
            textured_ = false;
        }
        if (twoSided_) {
            SetTwoSided(false);
        }
        if (smooth_) {
            glShadeModel(GL_FLAT);
            smooth_ = false;
        }
    }

private:
    // Both sides lit, the back with its own (reversed) normal and the same colour.
    void SetTwoSided(bool on) {
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, on ? GL_TRUE : GL_FALSE);
        glColorMaterial(on ? GL_FRONT_AND_BACK : GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
        twoSided_ = on;
    }

    bool textured_ = false;
    bool twoSided_ = false;
    bool smooth_ = false;
};

void DeleteStaleTextures() {
    std::vector<GLuint>& stale = StaleTextures();
    if (!stale.empty()) {
        glDeleteTextures(static_cast<GLsizei>(stale.size()), stale.data());
        stale.clear();
    }
}

// Uploads each image as a texture object with its mipmaps, its name kept by image index.
class GlTextureUploader : public TextureUploader {
public:
    explicit GlTextureUploader(std::vector<GLuint>& names) : names_(names) {}

    int LargestSide() override {
        GLint largest = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
        return largest > 0 ? largest : 64;  // every OpenGL takes 64
    }

    int Upload(const TextureImage& image) override {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        // Scales the image to powers of two, as OpenGL 1.1 requires, and builds its mipmaps.
        const GLint error = gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, image.width, image.height,
                                              GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
        if (error != 0) {
            std::fprintf(stderr, "a texture of %dx%d pixels could not be uploaded (GLU error %d)\n",
                         image.width, image.height, static_cast<int>(error));
        }
        names_.push_back(name);
        return static_cast<int>(names_.size() - 1);
    }

private:
    std::vector<GLuint>& names_;
};

}  // namespace

MaterialDrawing::MaterialDrawing(const Mesh* firstMesh, float masterScale,
                                 const std::string& modelPath, const TextureLimits& textures,
                                 bool compiled, const VertexPlacement& placement,
                                 const MeshLaidOut& laidOut)
    : masterScale_(masterScale), compiled_(compiled) {
    DeleteStaleTextures();
    // Each image is uploaded as soon as it is decoded and freed before the next is read.
    GlTextureUploader uploader(textureNames_);
    ModelTextures modelTextures(modelPath, textures, uploader);
    batches_ = BuildMaterialBatches(
        firstMesh, [&](const Material& material) { return modelTextures.TextureFor(material); },
        compiled ? PartOrder::kSpatial : PartOrder::kFileOrder, placement, laidOut);
    if (compiled_) {
        ForEachArray(
            [](const void* data, std::size_t bytes) { platform::KeepArraysFixed(data, bytes); });
    }
}

MaterialDrawing::~MaterialDrawing() {
    if (compiled_) {
        ForEachArray([](const void* data, std::size_t) { platform::ReleaseArrays(data); });
    }
    std::vector<GLuint>& stale = StaleTextures();
    stale.insert(stale.end(), textureNames_.begin(), textureNames_.end());
}

template <class Visit>
void MaterialDrawing::ForEachArray(const Visit& visit) const {
    const auto each = [&visit](const auto& values) {
        if (!values.empty()) {
            visit(values.data(), values.size() * sizeof values[0]);
        }
    };
    for (const MaterialBatch& batch : batches_.batches) {
        each(batch.arrays.positions);
        each(batch.arrays.normals);
        each(batch.arrays.texCoords);
        each(batch.arrays.corners);
    }
}

std::size_t MaterialDrawing::ArrayBytes() const {
    std::size_t bytes = 0;
    for (const MaterialBatch& batch : batches_.batches) {
        const PartArrays& arrays = batch.arrays;
        bytes += sizeof(float) * (arrays.positions.capacity() + arrays.normals.capacity() +
                                  arrays.texCoords.capacity()) +
                 sizeof(std::uint16_t) * arrays.corners.capacity() +
                 sizeof(DrawingPart) * arrays.parts.capacity();
    }
    return bytes;
}

// From the batch's arrays: the driver reads only the vertices of the parts drawn.
void MaterialDrawing::DrawArrays(const MaterialBatch& batch, const DrawingPart& part) const {
    const bool textured = batch.texture >= 0;
    const PartArrays& arrays = batch.arrays;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, arrays.positions.data() + 3 * part.firstVertex);
    glNormalPointer(GL_FLOAT, 0, arrays.normals.data() + 3 * part.firstVertex);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, arrays.texCoords.data() + 2 * part.firstVertex);
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(part.cornerCount), GL_UNSIGNED_SHORT,
                   arrays.corners.data() + part.firstCorner);
    if (textured) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void MaterialDrawing::DrawImmediately(const MaterialBatch& batch, const DrawingPart& part) const {
    const bool textured = batch.texture >= 0;
    const PartArrays& arrays = batch.arrays;
    glBegin(GL_TRIANGLES);
    for (std::size_t corner = part.firstCorner; corner < part.firstCorner + part.cornerCount;
         ++corner) {
        const std::size_t vertex = part.firstVertex + arrays.corners[corner];
        if (textured) {
            const float* uv = &arrays.texCoords[2 * vertex];
            glTexCoord2f(uv[0], uv[1]);
        }
        const float* normal = &arrays.normals[3 * vertex];
        glNormal3f(normal[0], normal[1], normal[2]);
        const float* xyz = &arrays.positions[3 * vertex];
        glVertex3f(xyz[0], xyz[1], xyz[2]);
    }
    glEnd();
}

void MaterialDrawing::Draw() {
    glScalef(masterScale_, masterScale_, masterScale_);
    if (masterScale_ != 1.0f) {
        // The scale reaches the normals too: GL renormalises them, so the light does not
        // depend on the model's units.
        glEnable(GL_NORMALIZE);
    }
    if (batches_.batches.empty()) {
        return;
    }
    if (!textureNames_.empty()) {
        // The light and the fog act on textured faces as on the others.
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    const ViewFrustum frustum = CurrentView();
    std::size_t cornersSent = 0;
    DrawPass(false, frustum, cornersSent);
    if (batches_.batches.back().transparent) {
        // Faces behind a transparent one still show when drawn after it: no depth writes.
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        DrawPass(true, frustum, cornersSent);
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
    }
}

// The view this frame shows, in the coordinates the parts' boxes are in.
ViewFrustum MaterialDrawing::CurrentView() const {
    double projection[16] = {};
    double modelView[16] = {};
    if (compiled_) {
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    }
    return ViewFrustum(projection, modelView);
}

void MaterialDrawing::DrawPass(bool transparent, const ViewFrustum& frustum,
                               std::size_t& cornersSent) const {
    BatchState state;
    for (const MaterialBatch& batch : batches_.batches) {
        if (batch.transparent != transparent) {
            continue;
        }
        state.Apply(batch, textureNames_);
        glColor4f(batch.color[0], batch.color[1], batch.color[2], batch.color[3]);
        for (const DrawingPart& part : batch.arrays.parts) {
            if (!compiled_) {
                DrawImmediately(batch, part);
            } else if (!frustum.Excludes(part.min, part.max)) {
                DrawArrays(batch, part);
                cornersSent += part.cornerCount;
                if (cornersSent >= kCornersPerFlush) {
                    glFlush();
                    cornersSent = 0;
                }
            }
        }
    }
    state.Restore();
}
