// The Win32 backend where only Windows (or Wine) can check it: the records and texts handed to
// the Win32 calls, and on a real desktop what the smoke run cannot see: the window's exact
// place, the focus, messages passed unchanged, a peek that leaves the message waiting and
// dropped files; and saved pictures, PNG files that the Windows Imaging Component reads back.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/Win32Internal.h"

// After <windows.h>, which it needs.
#include <shlobj.h>

namespace {

template <typename Record>
bool SameBytes(const Record& a, const Record& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(PixelFormatRecord, EveryRequestFieldLandsInItsOwnDescriptorField) {
    // Distinct values in the same order in both, so that two swapped fields cannot pass.
    const platform::PixelFormatRequest request{
        40, 1,  0x25, 2,  3,  4,  5,  6,  7,  8,  9,         10,        11,
        12, 13, 14,   15, 16, 17, 18, 19, 20, 21, 0x1000022, 0x2000023, 0x3000024};
    const PIXELFORMATDESCRIPTOR expected{40, 1,  0x25, 2,  3,  4,         5,         6,        7,
                                         8,  9,  10,   11, 12, 13,        14,        15,       16,
                                         17, 18, 19,   20, 21, 0x1000022, 0x2000023, 0x3000024};
    EXPECT_TRUE(SameBytes(platform::win32::ToPixelFormatDescriptor(request), expected));
}

TEST(DisplayModeRecord, AsksForSizeDepthAndRateAndLeavesTheRestZero) {
    DEVMODEA expected;
    std::memset(&expected, 0, sizeof expected);
    expected.dmSize = 156;
    expected.dmPelsWidth = 800;
    expected.dmPelsHeight = 600;
    expected.dmBitsPerPel = 16;
    expected.dmDisplayFrequency = 75;
    expected.dmFields = 0x5C0000;  // bits per pixel, width, height, frequency
    EXPECT_TRUE(SameBytes(platform::win32::ToFullScreenDevMode({800, 600, 16, 75}), expected));
}

TEST(Utf8ToWide, GivesTheUtf16OfEveryText) {
    using platform::win32::WideFromUtf8;
    EXPECT_EQ(WideFromUtf8("\xF0\x9F\x98\x80"), std::wstring({0xD83D, 0xDE00}));  // beyond 16 bits
    EXPECT_EQ(WideFromUtf8("\xE8\xAF\xB4\xFF"), std::wstring({0x8BF4, 0xFFFD}));  // not UTF-8
    EXPECT_EQ(WideFromUtf8(nullptr), std::wstring());
}

using platform::Message;

// The last message of each id the procedure received, and the file of the last drop.
std::map<std::uint32_t, Message> g_last;
std::string g_dropped;

std::intptr_t RecordingProcedure(platform::WindowHandle window, std::uint32_t id,
                                 std::uintptr_t wParam, std::intptr_t lParam) {
    g_last[id] = {window, id, wParam, lParam};
    if (id == platform::kMessageDropFiles) {
        g_dropped = platform::TakeDroppedFile(wParam);
    }
    return platform::DefaultWindowProcedure(window, id, wParam, lParam);
}

bool Same(const Message& a, const Message& b) {
    return a.window == b.window && a.id == b.id && a.wParam == b.wParam && a.lParam == b.lParam;
}

void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
}

// The window as the program opens it, at (40, 30) with an outer size of 320x240.
platform::WindowHandle OpenWindow() {
    static const bool registered = platform::RegisterWindowClass(
        {platform::kClassStyleClassDC, RecordingProcedure, "walkthrough-test"});
    g_last.clear();
    const std::uint32_t style = platform::kStyleOverlappedWindow | platform::kStyleClipSiblings |
                                platform::kStyleClipChildren;
    const platform::WindowSpec window{
        "walkthrough-test", "Quellmark test", style, 40, 30, 320, 240};
    return registered ? platform::CreateMainWindow(window) : nullptr;
}

TEST(Win32Window, StandsWhereAskedTellsItsClientSizeAndHasTheFocusOnlyInFront) {
    const platform::WindowHandle window = OpenWindow();
    const HWND hwnd = platform::win32::ToHwnd(window);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(g_last[platform::kMessageCreate].window, window);
    platform::ShowMainWindow(window);
    platform::UpdateMainWindow(window);
    RECT outer{}, client{};
    ASSERT_TRUE(GetWindowRect(hwnd, &outer) && GetClientRect(hwnd, &client));
    EXPECT_EQ(std::vector<LONG>({outer.left, outer.top, outer.right, outer.bottom}),
              std::vector<LONG>({40, 30, 40 + 320, 30 + 240}));
    const Message size = g_last[platform::kMessageSize];
    EXPECT_EQ(size.window, window);
    EXPECT_EQ(size.lParam, platform::PackSize(client.right, client.bottom));

    SetForegroundWindow(hwnd);
    DrainQueue();
    EXPECT_TRUE(platform::WindowHasInputFocus());
    ShowWindow(hwnd, SW_MINIMIZE);
    DrainQueue();
    EXPECT_FALSE(platform::WindowHasInputFocus());
    DestroyWindow(hwnd);
    DrainQueue();
}

TEST(Win32Window, APeekLeavesTheMessageWaitingAndARemovalTakesAndDispatchesItWhole) {
    const platform::WindowHandle window = OpenWindow();
    ASSERT_NE(window, nullptr);
    DrainQueue();
    // Every bit of a 64-bit parameter travels, there and back through the seam's records.
    const Message posted{window, WM_APP + 8, ~WPARAM{0}, -6};
    ASSERT_TRUE(PostMessageA(platform::win32::ToHwnd(window), posted.id, posted.wParam, -6));
    Message peeked;
    ASSERT_TRUE(platform::PeekWaitingMessage(peeked) && platform::PeekWaitingMessage(peeked));
    EXPECT_TRUE(Same(peeked, posted));
    Message removed;
    ASSERT_TRUE(platform::RemoveWaitingMessage(removed));
    EXPECT_TRUE(Same(removed, posted));
    g_last.clear();
    platform::DispatchToWindow(removed);
    ASSERT_EQ(g_last.size(), 1u);
    EXPECT_TRUE(Same(g_last[posted.id], posted));
    DestroyWindow(platform::win32::ToHwnd(window));
    DrainQueue();
}

TEST(Win32Window, GivesTheFirstDroppedFileInUtf8OnceAndRefusesOtherDrops) {
    const platform::WindowHandle window = OpenWindow();
    ASSERT_NE(window, nullptr);
    // Two files as the shell packs them: the header, then zero-terminated UTF-16 names.
    const std::wstring names =
        std::wstring(L"C:\\\x8BF4\xD83D\xDE00.3ds") + L'\0' + L"b" + L'\0' + L'\0';
    const HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    ASSERT_NE(files, nullptr);
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(files + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(drop);
    const auto dropId = reinterpret_cast<std::uintptr_t>(drop);
    EXPECT_EQ(platform::TakeDroppedFile(dropId), "");  // not yet given to the window
    ASSERT_TRUE(PostMessageA(platform::win32::ToHwnd(window), WM_DROPFILES, dropId, 0));
    DrainQueue();
    EXPECT_EQ(g_dropped, "C:\\\xE8\xAF\xB4\xF0\x9F\x98\x80.3ds");
    EXPECT_EQ(platform::TakeDroppedFile(dropId), "");  // taken and released
    DestroyWindow(platform::win32::ToHwnd(window));
    DrainQueue();
}

// A picture file's pixels as RGB, the top row first, and its size, as this build's PNG decoder
// behind the seam (the Windows Imaging Component) reads them.
struct DecodedRgb : platform::ImageRowSink {
    explicit DecodedRgb(const std::string& path) {
        std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
        const std::vector<unsigned char> png{std::istreambuf_iterator<char>(in), {}};
        std::string why;
        EXPECT_TRUE(platform::DecodeImageRows(platform::ImageCodec::kPng, png.data(), png.size(),
                                              4096, *this, why))
            << path << ": " << why;
    }
    bool BeginRows(int columns, int rows) override {
        width = columns, height = rows;
        return true;
    }
    bool TakeRow(const unsigned char* rgba) override {
        for (int x = 0; x < width; ++x) {
            rgb.insert(rgb.end(), rgba + 4 * x, rgba + 4 * x + 3);
        }
        return true;
    }
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

TEST(Win32Pictures, ArePngFilesOfThePixelsInTheFolderTheEnvironmentNamesNeverReplaced) {
    wchar_t temporary[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temporary), 0u);
    const std::string folder = platform::win32::Utf8FromWide(temporary) + "walkthrough-pictures-" +
                               std::to_string(GetCurrentProcessId()) +
                               "\\Neu \xC3\x9C"
                               "bersicht";
    ASSERT_EQ(_wputenv_s(L"WALKTHROUGH_PICTURES_DIR",
                         platform::win32::WideFromUtf8(folder.c_str()).c_str()),
              0);
    const unsigned char rgb[] = {255, 0,  0,  0,  255, 0,  0,  0,  255,
                                 10,  20, 30, 40, 50,  60, 70, 80, 90};
    std::string why;
    const std::string first = platform::SavePicture("k:elm", rgb, 3, 2, why);
    const std::string second = platform::SavePicture("k:elm", rgb, 3, 2, why);
    ASSERT_FALSE(first.empty()) << why;
    ASSERT_FALSE(second.empty()) << why;
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind(folder + "\\k_elm 2", 0), 0u) << first;
    EXPECT_EQ(platform::PicturesFolder(why), folder);
    for (const std::string& path : {first, second}) {
        const DecodedRgb decoded(path);
        EXPECT_EQ(decoded.rgb, std::vector<unsigned char>(rgb, rgb + sizeof rgb)) << path;
        EXPECT_EQ(std::make_pair(decoded.width, decoded.height), std::make_pair(3, 2));
    }

    // Without the variable: the Pictures known folder, which exists.
    ASSERT_EQ(_wputenv_s(L"WALKTHROUGH_PICTURES_DIR", L""), 0);
    const std::string pictures = platform::PicturesFolder(why);
    ASSERT_FALSE(pictures.empty()) << why;
    const DWORD attributes =
        GetFileAttributesW(platform::win32::WideFromUtf8(pictures.c_str()).c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

}  // namespace
