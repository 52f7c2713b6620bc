// The seam's image section on Windows: the Windows Imaging Component, a part of every Windows
// (windowscodecs.dll), decodes PNG, JPEG and GIF from memory. A GIF's first image is put on its
// logical screen as giflib's is on Linux: transparent black around it and where it is
// transparent.
#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/Platform.h"

namespace platform {
namespace {

// Releases a COM interface when it goes.
template <typename Interface>
class Com {
public:
    Com() = default;
    ~Com() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    Interface** Out() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

// COM for the calling thread while it lives, unless the thread has it already.
class ComScope {
public:
    ComScope() : owned_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComScope() {
        if (owned_) {
            CoUninitialize();
        }
    }

private:
    bool owned_;
};

std::string Failure(const char* step, HRESULT result) {
    char text[64];
    std::snprintf(text, sizeof text, "WIC: %s failed (0x%08lX)", step,
                  static_cast<unsigned long>(result));
    return text;
}

const GUID& ContainerOf(ImageCodec codec) {
    switch (codec) {
        case ImageCodec::kJpeg:
            return GUID_ContainerFormatJpeg;
        case ImageCodec::kGif:
            return GUID_ContainerFormatGif;
        case ImageCodec::kPng:
            break;
    }
    return GUID_ContainerFormatPng;
}

// An unsigned number of the metadata at `name`, or `fallback`.
UINT MetadataNumber(IWICMetadataQueryReader* reader, const wchar_t* name, UINT fallback) {
    if (reader == nullptr) {
        return fallback;
    }
    PROPVARIANT value;
    PropVariantInit(&value);
    UINT number = fallback;
    if (SUCCEEDED(reader->GetMetadataByName(name, &value))) {
        if (value.vt == VT_UI2) {
            number = value.uiVal;
        } else if (value.vt == VT_UI1) {
            number = value.bVal;
        }
    }
    PropVariantClear(&value);
    return number;
}

// The image's first frame, and for a GIF the screen it stands on.
struct OpenedImage {
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    UINT frameWidth = 0, frameHeight = 0;
    UINT width = 0, height = 0;  // of the screen; the frame's for PNG and JPEG
    UINT left = 0, top = 0;

    bool Open(ImageCodec codec, const unsigned char* bytes, std::size_t length, std::string& why) {
        HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(factory.Out()));
        if (FAILED(result)) {
            why = Failure("creating the imaging factory", result);
            return false;
        }
        if (length > 0xFFFFFFFFu) {
            why = "WIC: the file is too long";
            return false;
        }
        if (FAILED(result = factory->CreateStream(stream.Out())) ||
            FAILED(result = stream->InitializeFromMemory(const_cast<BYTE*>(bytes),
                                                         static_cast<DWORD>(length)))) {
            why = Failure("reading from memory", result);
            return false;
        }
        if (FAILED(result = factory->CreateDecoder(ContainerOf(codec), nullptr, decoder.Out())) ||
            FAILED(result = decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand))) {
            why = Failure("reading the header", result);
            return false;
        }
        if (FAILED(result = decoder->GetFrame(0, frame.Out())) ||
            FAILED(result = frame->GetSize(&frameWidth, &frameHeight))) {
            why = Failure("reading the first image", result);
            return false;
        }
        width = frameWidth;
        height = frameHeight;
        if (codec == ImageCodec::kGif) {
            Com<IWICMetadataQueryReader> screen;
            Com<IWICMetadataQueryReader> placement;
            decoder->GetMetadataQueryReader(screen.Out());
            frame->GetMetadataQueryReader(placement.Out());
            width = MetadataNumber(screen.Get(), L"/logscrdesc/Width", frameWidth);
            height = MetadataNumber(screen.Get(), L"/logscrdesc/Height", frameHeight);
            left = MetadataNumber(placement.Get(), L"/imgdesc/Left", 0);
            top = MetadataNumber(placement.Get(), L"/imgdesc/Top", 0);
        }
        if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
            why = "WIC: an image of no size";
            return false;
        }
        return true;
    }
};

}  // namespace

bool DecodesImageCodec(ImageCodec) {
    return true;
}

bool ReadImageSize(ImageCodec codec, const unsigned char* bytes, std::size_t length, int& width,
                   int& height, std::string& why) {
    ComScope com;
    OpenedImage image;
    if (!image.Open(codec, bytes, length, why)) {
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return true;
}

bool DecodeImageRows(ImageCodec codec, const unsigned char* bytes, std::size_t length, int,
                     ImageRowSink& sink, std::string& why) {
    ComScope com;
    OpenedImage image;
    if (!image.Open(codec, bytes, length, why)) {
        return false;
    }
    // The budget was reckoned on the screen: a frame that does not fit it is not read.
    if (image.frameWidth > image.width || image.frameHeight > image.height) {
        why = "its first image does not fit its screen";
        return false;
    }
    Com<IWICFormatConverter> converter;
    HRESULT result = image.factory->CreateFormatConverter(converter.Out());
    if (SUCCEEDED(result)) {
        result = converter->Initialize(image.frame.Get(), GUID_WICPixelFormat32bppRGBA,
                                       WICBitmapDitherTypeNone, nullptr, 0.0,
                                       WICBitmapPaletteTypeCustom);
    }
    if (FAILED(result)) {
        why = Failure("converting to RGBA", result);
        return false;
    }
    const int width = static_cast<int>(image.width);
    const int height = static_cast<int>(image.height);
    if (!sink.BeginRows(width, height)) {
        return false;
    }
    const UINT frameStride = 4 * image.frameWidth;
    std::vector<unsigned char> frameRow(frameStride);
    std::vector<unsigned char> row(4 * std::size_t(width));
    for (UINT y = 0; y < image.height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        if (y >= image.top && y - image.top < image.frameHeight) {
            const WICRect rect = {0, static_cast<INT>(y - image.top),
                                  static_cast<INT>(image.frameWidth), 1};
            if (FAILED(result = converter->CopyPixels(&rect, frameStride, frameStride,
                                                      frameRow.data()))) {
                why = Failure("decoding", result);
                return false;
            }
            const UINT right = std::min(image.width, image.left + image.frameWidth);
            for (UINT x = image.left; x < right; ++x) {
                const unsigned char* in = &frameRow[4 * std::size_t(x - image.left)];
                unsigned char* out = &row[4 * std::size_t(x)];
                // A transparent pixel is transparent black, whatever its palette entry holds.
                if (codec != ImageCodec::kGif || in[3] != 0) {
                    std::copy(in, in + 4, out);
                }
            }
        }
        if (!sink.TakeRow(row.data())) {
            return false;
        }
    }
    return true;
}

}  // namespace platform
