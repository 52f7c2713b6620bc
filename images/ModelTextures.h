// images/: the texture images of a model a user names. Texture images come from anywhere (a
// downloaded model brings its own, and the thumbnailer reads folders nobody opened), so they are
// untrusted input: this room finds them beside the model (TextureFolder), decides from each
// header what an image may cost (ImageBudget), decodes one at a time, reduced as it goes to the
// side that will be drawn (TextureDecoding, RowReducer), with the system's decoders behind the
// platform seam for PNG, JPEG and GIF and its own for BMP and TGA, and hands each image over
// to be uploaded before the next is read.
//
// Portable C++ without GL: it may call scene/ (the material, opening files by UTF-8 path) and
// platform/Platform.h (the image decoders), nothing above.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "images/ImageBudget.h"
#include "images/TextureFolder.h"
#include "images/TextureImage.h"
#include "scene/Model.h"

// Where decoded images go: the drawing uploads each at once, so that only one image is held.
class TextureUploader {
public:
    virtual ~TextureUploader() = default;
    // The longest side the drawing can take (GL_MAX_TEXTURE_SIZE), asked once before the
    // first image is decoded.
    virtual int LargestSide() = 0;
    // Uploads the image; its texture's index, or -1 when it could not be.
    virtual int Upload(const TextureImage& image) = 0;
};

class ModelTextures {
public:
    ModelTextures(const std::string& modelPath, const TextureLimits& limits,
                  TextureUploader& uploader, FolderLister lister = ListFolder);

    // The texture index of a material's image, or -1 when it names none or its image cannot be
    // drawn; then one line on standard error names the image and the reason, and the material's
    // colour is drawn. Each file is read, decoded and uploaded once, and freed before the next.
    int TextureFor(const Material& material);

private:
    int Load(const Material& material);

    TextureFolder folder_;
    TextureLimits limits_;
    TextureUploader& uploader_;
    std::unique_ptr<ImageBudget> budget_;  // made once the uploader's largest side is known
    std::unordered_map<const Material*, int> textureOfMaterial_;
    std::map<std::string, int> textureOfPath_;
};

// A model's texture limits with the side lowered for a picture of this size (walkthrough-shot:
// a texture never needs more texels across than the picture has pixels).
TextureLimits LimitsForPicture(int width, int height);
