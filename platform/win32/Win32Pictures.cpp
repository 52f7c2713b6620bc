// The Windows part of saving pictures: the Pictures known folder, PNG through the Windows Imaging
// Component's encoder (COM, in windowscodecs.dll, which every Windows has), and files created
// with CREATE_NEW, so that a file that appeared meanwhile is never replaced. Built into the
// desktop backends and the fake one, so it keeps its own UTF-8 conversions.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "platform/common/DesktopPictures.h"

namespace platform::pictures {

namespace {

std::wstring Wide(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                        nullptr, nullptr);
    return text;
}

// The system's words for an error code (a Win32 error or an HRESULT).
std::string SystemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
        message.pop_back();
    }
    if (message.empty()) {
        char number[32];
        std::snprintf(number, sizeof number, "error 0x%08lX", static_cast<unsigned long>(code));
        return number;
    }
    return Utf8(message);
}

// A COM interface released when it goes out of scope.
template <class Interface>
class Com {
public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }
    Interface** out() { return &pointer_; }
    void** outVoid() { return reinterpret_cast<void**>(&pointer_); }

private:
    Interface* pointer_ = nullptr;
};

// COM on this thread while one picture is encoded; a thread that has it already keeps it.
class ComOnThisThread {
public:
    ComOnThisThread() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComOnThisThread() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComOnThisThread(const ComOnThisThread&) = delete;
    ComOnThisThread& operator=(const ComOnThisThread&) = delete;

private:
    HRESULT result_;
};

bool Failed(HRESULT result, const char* step, std::string& why) {
    if (SUCCEEDED(result)) {
        return false;
    }
    why = std::string(step) + ": " + SystemMessage(static_cast<DWORD>(result));
    return true;
}

// The bytes a stream of the encoder holds, copied out.
bool StreamBytes(IStream* stream, std::vector<std::uint8_t>& bytes, std::string& why) {
    STATSTG status{};
    HGLOBAL memory = nullptr;
    if (Failed(stream->Stat(&status, STATFLAG_NONAME), "the encoded stream", why) ||
        Failed(GetHGlobalFromStream(stream, &memory), "the encoded stream", why)) {
        return false;
    }
    const void* data = GlobalLock(memory);
    const SIZE_T held = GlobalSize(memory);
    if (data == nullptr || status.cbSize.QuadPart > held) {
        why = "the encoded stream cannot be read";
        return false;
    }
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes.assign(first, first + status.cbSize.QuadPart);
    GlobalUnlock(memory);
    return true;
}

}  // namespace

std::string EnvironmentValue(const char* name) {
    const wchar_t* value = _wgetenv(Wide(name).c_str());
    return value != nullptr ? Utf8(value) : std::string();
}

std::string SystemPicturesFolder(std::string& why) {
    wchar_t* path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_CREATE, nullptr, &path);
    std::string folder = SUCCEEDED(result) && path != nullptr ? Utf8(path) : std::string();
    CoTaskMemFree(path);
    if (folder.empty()) {
        why = "no Pictures folder: " + SystemMessage(static_cast<DWORD>(result));
    }
    return folder;
}

bool MakeFolders(const std::string& folder, std::string& why) {
    // SHCreateDirectoryExW makes every missing folder on the way, from a full path only.
    const std::wstring wide = Wide(folder);
    wchar_t full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(wide.c_str(), MAX_PATH * 4, full, nullptr);
    if (length == 0 || length >= MAX_PATH * 4) {
        why = folder + ": not a usable path";
        return false;
    }
    const int made = SHCreateDirectoryExW(nullptr, full, nullptr);
    const DWORD attributes = GetFileAttributesW(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        why = folder + ": " +
              (made != ERROR_SUCCESS ? SystemMessage(static_cast<DWORD>(made)) : "not a folder");
        return false;
    }
    return true;
}

bool EncodePicture(const std::uint8_t* rgb, int width, int height, std::vector<std::uint8_t>& png,
                   std::string& why) {
    if (rgb == nullptr || width <= 0 || height <= 0 || width > 32768 || height > 32768) {
        why = "no picture to write";
        return false;
    }
    // WIC's PNG encoder takes blue, green, red.
    const UINT stride = static_cast<UINT>(width) * 3;
    std::vector<BYTE> bgr(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    for (std::size_t at = 0; at < bgr.size(); at += 3) {
        bgr[at] = rgb[at + 2];
        bgr[at + 1] = rgb[at + 1];
        bgr[at + 2] = rgb[at];
    }
    const ComOnThisThread com;
    Com<IWICImagingFactory> factory;
    Com<IStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> frameOptions;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (Failed(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.outVoid()),
               "the Windows Imaging Component", why) ||
        Failed(CreateStreamOnHGlobal(nullptr, TRUE, stream.out()), "a memory stream", why) ||
        Failed(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out()),
               "the PNG encoder", why) ||
        Failed(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "the PNG encoder",
               why) ||
        Failed(encoder->CreateNewFrame(frame.out(), frameOptions.out()), "a PNG frame", why) ||
        Failed(frame->Initialize(frameOptions.get()), "a PNG frame", why) ||
        Failed(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "the size",
               why) ||
        Failed(frame->SetPixelFormat(&format), "the pixel format", why)) {
        return false;
    }
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        why = "the PNG encoder does not take 24-bit pixels";
        return false;
    }
    return !Failed(frame->WritePixels(static_cast<UINT>(height), stride,
                                      static_cast<UINT>(bgr.size()), bgr.data()),
                   "the pixels", why) &&
           !Failed(frame->Commit(), "the PNG frame", why) &&
           !Failed(encoder->Commit(), "the PNG file", why) && StreamBytes(stream.get(), png, why);
}

NewFile CreateNewFileWith(const std::string& path, const std::vector<std::uint8_t>& bytes,
                          std::string& why) {
    const std::wstring wide = Wide(path);
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            return NewFile::kExists;
        }
        why = path + ": " + SystemMessage(error);
        return NewFile::kFailed;
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        DWORD step = 0;
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
        if (!WriteFile(file, bytes.data() + written, chunk, &step, nullptr) || step == 0) {
            why = path + ": " + SystemMessage(GetLastError());
            CloseHandle(file);
            DeleteFileW(wide.c_str());  // no half picture left behind
            return NewFile::kFailed;
        }
        written += step;
    }
    if (!CloseHandle(file)) {
        why = path + ": " + SystemMessage(GetLastError());
        DeleteFileW(wide.c_str());
        return NewFile::kFailed;
    }
    return NewFile::kCreated;
}

}  // namespace platform::pictures
