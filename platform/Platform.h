// The one seam between the walk-through and the operating system.
//
// Everything the portable code (app/, render/, scene/) needs from the platform is declared
// here and defined once per backend: platform/sdl2 (Linux and other desktops), platform/win32
// (native Windows) and platform/fake (tests). No SDL or Windows type crosses this header.
//
// The model is the Win32 one the program was designed on: a registered window class with a
// window procedure, messages with numeric identifiers and two parameters, a queue that is
// peeked and drained, virtual-key codes, screen-pixel cursor positions, and a device context
// on which a pixel format is chosen and a rendering context is created. Backends other than
// win32 translate their native events into these messages.
//
// Texts are UTF-8; each backend converts them to what its platform wants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

struct WindowTag;
struct DeviceContextTag;
struct RenderContextTag;
using WindowHandle = WindowTag*;
using DeviceContext = DeviceContextTag*;
using RenderContext = RenderContextTag*;

// Message identifiers, with the values Win32 gives them.
constexpr std::uint32_t kMessageCreate = 0x0001;
constexpr std::uint32_t kMessageDestroy = 0x0002;
constexpr std::uint32_t kMessageSize = 0x0005;
constexpr std::uint32_t kMessageClose = 0x0010;
constexpr std::uint32_t kMessageQuit = 0x0012;
constexpr std::uint32_t kMessageKeyDown = 0x0100;
constexpr std::uint32_t kMessageKeyUp = 0x0101;
// Files were dropped on the window; wParam identifies the drop for TakeDroppedFile.
constexpr std::uint32_t kMessageDropFiles = 0x0233;

// Virtual-key codes, with the values Win32 gives them. Letters are their capitals.
constexpr int kKeyShift = 0x10;
constexpr int kKeyEscape = 0x1B;
constexpr int kKeyPageUp = 0x21;
constexpr int kKeyPageDown = 0x22;
constexpr int kKeyLeft = 0x25;
constexpr int kKeyUp = 0x26;
constexpr int kKeyRight = 0x27;
constexpr int kKeyDown = 0x28;
constexpr int kKeyA = 0x41;
constexpr int kKeyD = 0x44;
constexpr int kKeyG = 0x47;
constexpr int kKeyS = 0x53;
constexpr int kKeyW = 0x57;
constexpr int kKeyF1 = 0x70;
constexpr int kKeyF12 = 0x7B;

// Window styles and class style, with the values Win32 gives them.
constexpr std::uint32_t kStylePopup = 0x80000000u;
constexpr std::uint32_t kStyleOverlappedWindow = 0x00CF0000u;
constexpr std::uint32_t kStyleClipSiblings = 0x04000000u;
constexpr std::uint32_t kStyleClipChildren = 0x02000000u;
constexpr std::uint32_t kClassStyleClassDC = 0x0040u;

// Answers of the Yes/No prompt.
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// Pixel-format request flags and types, with the values Win32 gives them.
constexpr std::uint32_t kPixelDrawToWindow = 0x04;
constexpr std::uint32_t kPixelSupportOpenGL = 0x20;
constexpr std::uint32_t kPixelDoubleBuffer = 0x01;
constexpr std::uint8_t kPixelTypeRgba = 0;
constexpr std::uint8_t kPixelTypeColorIndex = 1;
constexpr std::uint8_t kPixelMainPlane = 0;

// Packs a client size the way a size message carries it: width in the low word, height in the
// high word, both unsigned 16-bit.
constexpr std::intptr_t PackSize(int width, int height) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(height) & 0xFFFFu) << 16 |
                                      (static_cast<std::uint32_t>(width) & 0xFFFFu));
}
constexpr int SizeWidth(std::intptr_t lParam) {
    return static_cast<int>(lParam & 0xFFFF);
}
constexpr int SizeHeight(std::intptr_t lParam) {
    return static_cast<int>((lParam >> 16) & 0xFFFF);
}

struct Message {
    WindowHandle window = nullptr;
    std::uint32_t id = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

using WindowProcedure = std::intptr_t (*)(WindowHandle window, std::uint32_t message,
                                          std::uintptr_t wParam, std::intptr_t lParam);

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int frequency = 0;
};

struct WindowClass {
    std::uint32_t style = 0;
    WindowProcedure procedure = nullptr;
    const char* className = nullptr;
};

struct WindowSpec {
    const char* className = nullptr;
    const char* title = nullptr;
    std::uint32_t style = 0;
    int x = 0;
    int y = 0;
    int width = 0;  // outer size, frame included
    int height = 0;
};

// The fields of a Win32 PIXELFORMATDESCRIPTOR, in its order.
struct PixelFormatRequest {
    std::uint16_t size = 0;
    std::uint16_t version = 0;
    std::uint32_t flags = 0;
    std::uint8_t pixelType = 0;
    std::uint8_t colorBits = 0;
    std::uint8_t redBits = 0, redShift = 0, greenBits = 0, greenShift = 0;
    std::uint8_t blueBits = 0, blueShift = 0, alphaBits = 0, alphaShift = 0;
    std::uint8_t accumBits = 0, accumRedBits = 0, accumGreenBits = 0, accumBlueBits = 0;
    std::uint8_t accumAlphaBits = 0;
    std::uint8_t depthBits = 0;
    std::uint8_t stencilBits = 0;
    std::uint8_t auxBuffers = 0;
    std::uint8_t layerType = 0;
    std::uint8_t reserved = 0;
    std::uint32_t layerMask = 0, visibleMask = 0, damageMask = 0;
};

struct CursorPoint {
    int x = 0;
    int y = 0;
};

// --- Dialogs ---
// The modal Yes/No question; returns kAnswerYes, kAnswerNo or another backend answer.
int AskYesNo(const char* text, const char* caption);
// A modal warning with one OK button; returns when it is dismissed.
void ShowWarning(const char* text, const char* caption);

// --- Display ---
// Asks for a full-screen display mode; true only when the mode really took effect.
bool ChangeDisplayMode(const DisplayMode& mode);
int ScreenWidth();
int ScreenHeight();

// --- Window and messages ---
bool RegisterWindowClass(const WindowClass& windowClass);
// Creates the window. The class's procedure receives kMessageCreate inside this call, and a
// kMessageSize with the client size no later than ShowMainWindow.
WindowHandle CreateMainWindow(const WindowSpec& windowSpec);
void ShowMainWindow(WindowHandle window);
// Names the window anew (a model opened, walking or flying); the web page shows it too.
void SetWindowTitle(WindowHandle window, const char* title);
void UpdateMainWindow(WindowHandle window);
// Copies the first waiting message into `message` without removing it; false when none waits
// (and `message` is left as it was).
bool PeekWaitingMessage(Message& message);
// Removes the first waiting message into `message`; false when none waits.
bool RemoveWaitingMessage(Message& message);
void TranslateKeyMessage(const Message& message);
std::intptr_t DispatchToWindow(const Message& message);
std::intptr_t DefaultWindowProcedure(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam);
void PostQuit(int exitCode);

// --- Cursor and keys ---
// Whether the main window has the keyboard focus and is not minimised: only then is the
// pointer the walk-through's to read and move.
bool WindowHasInputFocus();
// The centre of the main window's client area, in screen pixels: where the pointer is held.
// False when there is no window to tell it.
bool GetPointerHome(CursorPoint& home);
// The cursor position in screen pixels; false when the platform cannot tell.
bool GetCursorScreenPosition(CursorPoint& point);
// Moves the cursor to a screen point; false when the platform does not allow it.
bool SetCursorScreenPosition(int x, int y);
void SetCursorVisible(bool visible);
// Whether the key with this virtual-key code is held at the moment of the call.
bool IsKeyHeld(int virtualKey);

// --- Device and rendering contexts ---
DeviceContext GetWindowDeviceContext(WindowHandle window);
// The index of the closest pixel format, or 0 when none matches.
int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request);
bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request);
RenderContext CreateRenderContext(DeviceContext dc);
// Binds `context` to the calling thread, or unbinds the current one when it is null.
bool MakeContextCurrent(DeviceContext dc, RenderContext context);
bool DeleteRenderContext(RenderContext context);
// Presents the finished back buffer.
bool SwapFrontAndBack(DeviceContext dc);

// --- Dropped files ---
// The first file of a drop message (its wParam) as a UTF-8 path, and releases the drop; empty
// when the drop holds no file. Each drop is taken once.
std::string TakeDroppedFile(std::uintptr_t drop);

// --- Sound ---
// Starts playing a WAV file once in the background; a missing file or device stays silent.
void PlaySoundFileAsync(const char* fileName);

// --- Time ---
// Milliseconds of a steady clock, from some start: for how long something takes (a model
// opening), never for moving or animating, which go by frames.
std::uint64_t SteadyMilliseconds();

// --- Vertex arrays ---
// The drawing's word that the client arrays in the `bytes` from `data` keep their contents until
// ReleaseArrays(data): a GL that copies client arrays into GPU buffers (the web page's) copies
// these once and draws from the copy after. The desktop GLs have nothing to do.
void KeepArraysFixed(const void* data, std::size_t bytes);
void ReleaseArrays(const void* data);

// --- Pictures ---
// Where screenshots go: the folder named by the environment variable WALKTHROUGH_PICTURES_DIR
// when it is set (tests set it), else the user's pictures folder (Linux: the XDG pictures
// folder, $XDG_PICTURES_DIR or the PICTURES line of ~/.config/user-dirs.dirs, else ~/Pictures;
// Windows: the Pictures known folder); created if missing. Empty, with `why`, when there is
// none, and in the web page, where the browser decides where downloads go.
std::string PicturesFolder(std::string& why);
// Saves an 8-bit RGB picture (`width` x `height`, rows from the top, 3 bytes a pixel, no
// padding) as a PNG named after `baseName` (a model's name) and the local time, e.g.
// "house 2026-12-07 21-04-05.png", in PicturesFolder(), never replacing a file: " (2)", " (3)"...
// go before ".png" when the name is taken; characters a file system refuses become '_'.
// Returns the path written; in the web page the browser downloads the file, and its name is
// returned. Empty, with `why`, when nothing was saved.
std::string SavePicture(const std::string& baseName, const unsigned char* rgbRowsTopFirst,
                        int width, int height, std::string& why);

// --- Memory ---
// Asks the system to map every page of a big buffer that is about to be written, at once and
// in large pages where it can, rather than one page fault at a time as it is written: on big
// models those faults are most of the loading time. Leaves the contents as they are. One
// definition for every backend, part of the model reader (platform/common/PrefaultPages.cpp).
void PrefaultForWriting(void* buffer, std::size_t bytes);
// Asks for large pages where a big fresh buffer spans whole ones, without mapping any: the
// threads that write it then meet a fault per 2 MiB, each for its own part.
void PreferLargePages(void* buffer, std::size_t bytes);
// Gives the memory the program has freed back to the system, where the allocator keeps it
// otherwise (glibc's heap): after the big transient buffers of opening a model. Elsewhere
// nothing.
void GiveBackFreedMemory();

// The bytes of a file opened for reading, held whole so that a model is read in place: mapped
// where the system can (Linux: a private mapping, so that what is written to it stays in this
// process), else read into memory. `size` is what could be had, which is less than asked for
// only when the file shrank. One definition for every backend, part of the model reader
// (platform/common/FileBytes.cpp).
struct FileBytes {
    unsigned char* data = nullptr;
    std::size_t size = 0;
    bool mapped = false;
};
// `size` bytes of `file` from its start; empty when they cannot be had.
FileBytes HoldFileBytes(std::FILE* file, std::size_t size);
// Gives back the memory of the whole pages inside [begin, end) of `bytes`, which are not read
// again: a mapping's pages leave the process; read bytes stay until DropFileBytes.
void ReleaseFilePages(const FileBytes& bytes, std::size_t begin, std::size_t end);
void DropFileBytes(FileBytes& bytes);

// --- Image decoding ---
// The system's own decoders of the compressed formats texture images come in, chosen per
// build rather than per window backend (the fake platform and the tests use the build's real
// ones): libpng, libjpeg-turbo and giflib on Linux (platform/imagelibs), the Windows Imaging
// Component (platform/win32), the browser's decoders (platform/web). BMP and TGA are decoded by
// the program itself on every system. The bytes are untrusted: a decoder refuses, with a reason,
// whatever it cannot decode; none reads outside `bytes`.
enum class ImageCodec { kPng, kJpeg, kGif };

// Whether this build decodes the codec at all.
bool DecodesImageCodec(ImageCodec codec);

// Takes a decoded image's rows, the top row first, four bytes a pixel (red, green, blue,
// alpha; alpha 255 where the image has none).
class ImageRowSink {
public:
    virtual ~ImageRowSink() = default;
    // The size of the rows that follow, before the first; false stops the decoding.
    virtual bool BeginRows(int width, int height) = 0;
    // One row of `width` pixels; false stops the decoding.
    virtual bool TakeRow(const unsigned char* rgba) = 0;
};

// The image's width and height as its header gives them, without decoding a pixel; false, and
// why in `why`, when the bytes hold no such header.
bool ReadImageSize(ImageCodec codec, const unsigned char* bytes, std::size_t length, int& width,
                   int& height, std::string& why);

// Decodes the first image in `bytes` into `sink`. A decoder that can reduce cheaply (libjpeg's
// scaled decoding, the browser's resizing) may hand rows reduced by a power-of-two factor s,
// ceil(width / s) by ceil(height / s), with s no larger than the smallest power of two that
// brings both sides within `wantedSide`; BeginRows says which size comes. False, and why in
// `why`, when the image cannot be decoded or the sink stopped it.
bool DecodeImageRows(ImageCodec codec, const unsigned char* bytes, std::size_t length,
                     int wantedSide, ImageRowSink& sink, std::string& why);

}  // namespace platform
