#include "scene/MaterialDrawing.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <utility>

namespace {

// Texture objects and display lists of models no longer shown, deleted with the next upload.
struct StaleObjects {
    std::vector<GLuint> textures;
    std::vector<std::pair<GLuint, GLsizei>> lists;  // first, count
};
StaleObjects& Stale() {
    static StaleObjects stale;
    return stale;
}

// Turns a batch's texture and two-sided lighting on or off when they change.
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
    }
    void Restore() {
        if (textured_) {
            glDisable(GL_TEXTURE_2D);
            textured_ = false;
        }
        if (twoSided_) {
            SetTwoSided(false);
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
};

}  // namespace

MaterialDrawing::MaterialDrawing(MaterialBatches batches) : batches_(std::move(batches)) {}

MaterialDrawing::~MaterialDrawing() {
    StaleObjects& stale = Stale();
    stale.textures.insert(stale.textures.end(), textureNames_.begin(), textureNames_.end());
    if (firstList_ != 0) {
        stale.lists.push_back({firstList_, static_cast<GLsizei>(batches_.batches.size())});
    }
}

void MaterialDrawing::Upload() {
    StaleObjects& stale = Stale();
    if (!stale.textures.empty()) {
        glDeleteTextures(static_cast<GLsizei>(stale.textures.size()), stale.textures.data());
        stale.textures.clear();
    }
    for (const auto& [first, count] : stale.lists) {
        glDeleteLists(first, count);
    }
    stale.lists.clear();
    UploadTextures();
    CompileBatches();
    uploaded_ = true;
}

void MaterialDrawing::UploadTextures() {
    textureNames_.assign(batches_.images.size(), 0);
    if (!textureNames_.empty()) {
        glGenTextures(static_cast<GLsizei>(textureNames_.size()), textureNames_.data());
    }
    for (std::size_t i = 0; i < textureNames_.size(); ++i) {
        const TextureImage& image = batches_.images[i];
        glBindTexture(GL_TEXTURE_2D, textureNames_[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        // Scales the image to powers of two, as OpenGL 1.1 requires, and builds its mipmaps.
        const GLint error = gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, image.width, image.height,
                                              GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
        if (error != 0) {
            std::fprintf(stderr, "a texture of %dx%d pixels could not be uploaded (GLU error %d)\n",
                         image.width, image.height, static_cast<int>(error));
        }
    }
    // GL holds the pixels now.
    batches_.images = {};
}

// The driver keeps a display list's vertices where it draws them from fastest, so a frame
// hands it no vertex data at all; the arrays are then no longer needed.
void MaterialDrawing::CompileBatches() {
    const std::size_t count = batches_.batches.size();
    firstList_ = count > 0 ? glGenLists(static_cast<GLsizei>(count)) : 0;
    if (firstList_ == 0) {
        return;  // none to draw, or no lists to be had: the arrays are drawn each frame
    }
    for (std::size_t i = 0; i < count; ++i) {
        glNewList(firstList_ + static_cast<GLuint>(i), GL_COMPILE);
        DrawArrays(batches_.batches[i]);
        glEndList();
    }
    batches_.positions = {};
    batches_.normals = {};
    batches_.texCoords = {};
}

void MaterialDrawing::DrawArrays(const MaterialBatch& batch) const {
    const bool textured = batch.texture >= 0;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, batches_.positions.data());
    glNormalPointer(GL_FLOAT, 0, batches_.normals.data());
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, batches_.texCoords.data());
    }
    glDrawArrays(GL_TRIANGLES, static_cast<GLint>(batch.firstCorner),
                 static_cast<GLsizei>(batch.cornerCount));
    if (textured) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void MaterialDrawing::Draw() {
    if (!uploaded_) {
        Upload();
    }
    if (batches_.batches.empty()) {
        return;
    }
    glShadeModel(GL_SMOOTH);
    if (!textureNames_.empty()) {
        // The light and the fog act on textured faces as on the others.
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    DrawPass(false);
    if (batches_.batches.back().transparent) {
        // Faces behind a transparent one still show when drawn after it: no depth writes.
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        DrawPass(true);
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
    }
    glShadeModel(GL_FLAT);
}

void MaterialDrawing::DrawPass(bool transparent) const {
    BatchState state;
    for (std::size_t i = 0; i < batches_.batches.size(); ++i) {
        const MaterialBatch& batch = batches_.batches[i];
        if (batch.transparent != transparent) {
            continue;
        }
        state.Apply(batch, textureNames_);
        glColor4f(batch.color[0], batch.color[1], batch.color[2], batch.color[3]);
        if (firstList_ != 0) {
            glCallList(firstList_ + static_cast<GLuint>(i));
        } else {
            DrawArrays(batch);
        }
    }
    state.Restore();
}
