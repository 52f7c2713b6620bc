// The Win32 backend's records and texts: what the seam hands over must reach the Win32 calls
// field for field, and the UTF-8 texts must become the right UTF-16.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32/Win32Internal.h"

namespace {

using platform::win32::ExtensionListHas;
using platform::win32::WideFromUtf8;

TEST(PixelFormatRecord, EveryRequestFieldLandsInItsOwnDescriptorField) {
    // Distinct values, so that two swapped fields cannot pass.
    platform::PixelFormatRequest request;
    request.size = 40;
    request.version = 1;
    request.flags = 0x25;
    request.pixelType = 2;
    request.colorBits = 3;
    request.redBits = 4;
    request.redShift = 5;
    request.greenBits = 6;
    request.greenShift = 7;
    request.blueBits = 8;
    request.blueShift = 9;
    request.alphaBits = 10;
    request.alphaShift = 11;
    request.accumBits = 12;
    request.accumRedBits = 13;
    request.accumGreenBits = 14;
    request.accumBlueBits = 15;
    request.accumAlphaBits = 16;
    request.depthBits = 17;
    request.stencilBits = 18;
    request.auxBuffers = 19;
    request.layerType = 20;
    request.reserved = 21;
    request.layerMask = 0x1000022;
    request.visibleMask = 0x2000023;
    request.damageMask = 0x3000024;

    const PIXELFORMATDESCRIPTOR pfd = platform::win32::ToPixelFormatDescriptor(request);

    EXPECT_EQ(pfd.nSize, 40);
    EXPECT_EQ(pfd.nVersion, 1);
    EXPECT_EQ(pfd.dwFlags, 0x25u);
    EXPECT_EQ(pfd.iPixelType, 2);
    EXPECT_EQ(pfd.cColorBits, 3);
    EXPECT_EQ(pfd.cRedBits, 4);
    EXPECT_EQ(pfd.cRedShift, 5);
    EXPECT_EQ(pfd.cGreenBits, 6);
    EXPECT_EQ(pfd.cGreenShift, 7);
    EXPECT_EQ(pfd.cBlueBits, 8);
    EXPECT_EQ(pfd.cBlueShift, 9);
    EXPECT_EQ(pfd.cAlphaBits, 10);
    EXPECT_EQ(pfd.cAlphaShift, 11);
    EXPECT_EQ(pfd.cAccumBits, 12);
    EXPECT_EQ(pfd.cAccumRedBits, 13);
    EXPECT_EQ(pfd.cAccumGreenBits, 14);
    EXPECT_EQ(pfd.cAccumBlueBits, 15);
    EXPECT_EQ(pfd.cAccumAlphaBits, 16);
    EXPECT_EQ(pfd.cDepthBits, 17);
    EXPECT_EQ(pfd.cStencilBits, 18);
    EXPECT_EQ(pfd.cAuxBuffers, 19);
    EXPECT_EQ(pfd.iLayerType, 20);
    EXPECT_EQ(pfd.bReserved, 21);
    EXPECT_EQ(pfd.dwLayerMask, 0x1000022u);
    EXPECT_EQ(pfd.dwVisibleMask, 0x2000023u);
    EXPECT_EQ(pfd.dwDamageMask, 0x3000024u);
}

TEST(DisplayModeRecord, AsksForSizeDepthAndRateAndLeavesTheRestZero) {
    platform::DisplayMode mode;
    mode.width = 800;
    mode.height = 600;
    mode.bitsPerPixel = 16;
    mode.frequency = 75;

    const DEVMODEA devMode = platform::win32::ToFullScreenDevMode(mode);

    DEVMODEA expected;
    std::memset(&expected, 0, sizeof expected);
    expected.dmSize = 156;
    expected.dmPelsWidth = 800;
    expected.dmPelsHeight = 600;
    expected.dmBitsPerPel = 16;
    expected.dmDisplayFrequency = 75;
    expected.dmFields = 0x5C0000;  // bits per pixel, width, height, frequency
    EXPECT_EQ(sizeof devMode, 156u);
    EXPECT_EQ(std::memcmp(&devMode, &expected, sizeof devMode), 0);
    EXPECT_EQ(devMode.dmFields, static_cast<DWORD>(DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT |
                                                   DM_DISPLAYFREQUENCY));
}

TEST(MessageRecord, CarriesWindowIdAndBothParametersBothWays) {
    platform::Message message;
    message.window = platform::win32::ToWindow(reinterpret_cast<HWND>(0x12345678));
    message.id = 0xC123;
    message.wParam = ~std::uintptr_t{0};  // every bit of a 64-bit parameter
    message.lParam = -2;

    const MSG msg = platform::win32::ToNativeMessage(message);
    EXPECT_EQ(msg.hwnd, reinterpret_cast<HWND>(0x12345678));
    EXPECT_EQ(msg.message, 0xC123u);
    EXPECT_EQ(msg.wParam, ~WPARAM{0});
    EXPECT_EQ(msg.lParam, -2);

    const platform::Message back = platform::win32::FromNativeMessage(msg);
    EXPECT_EQ(back.window, message.window);
    EXPECT_EQ(back.id, message.id);
    EXPECT_EQ(back.wParam, message.wParam);
    EXPECT_EQ(back.lParam, message.lParam);
}

struct TextCase {
    const char* what;
    const char* utf8;
    std::wstring utf16;
};

TEST(Utf8ToWide, GivesTheUtf16OfEveryText) {
    const TextCase cases[] = {
        {"the prompt's caption", "说明", {0x8BF4, 0x660E}},
        {"the warning",
         "没找到合适的显示模式",
         {0x6CA1, 0x627E, 0x5230, 0x5408, 0x9002, 0x7684, 0x663E, 0x793A, 0x6A21, 0x5F0F}},
        {"mixed with ASCII and a line feed", "吗?\nOK", {0x5417, L'?', L'\n', L'O', L'K'}},
        {"beyond the 16-bit plane", "\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},
        {"a byte that is not UTF-8",
         "a\xFF"
         "b",
         {L'a', 0xFFFD, L'b'}},
        {"empty", "", {}},
        {"null", nullptr, {}},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WideFromUtf8(c.utf8), c.utf16);
    }
}

TEST(Utf8ToWide, KeepsTheWholePromptWithItsLineBreaks) {
    const std::wstring wide = WideFromUtf8("总设计:\n     Quellmark04级学生:Tervani\n\n说明:");
    ASSERT_EQ(wide.size(), 37u);
    EXPECT_EQ(wide.front(), 0x603B);  // 总
    EXPECT_EQ(wide[4], L'\n');
    EXPECT_EQ(wide.substr(5, 14), L"     Quellmark");
    EXPECT_EQ(wide.back(), L':');
}

struct ExtensionCase {
    const char* list;
    bool named;
};

TEST(ExtensionList, NamesOnlyWholeTokens) {
    const char* const wanted = "WGL_EXT_swap_control";
    const ExtensionCase cases[] = {
        {"WGL_EXT_swap_control", true},
        {"WGL_ARB_pixel_format WGL_EXT_swap_control", true},
        {"WGL_EXT_swap_control WGL_ARB_pixel_format", true},
        {"WGL_ARB_a WGL_EXT_swap_control WGL_ARB_b ", true},
        {"WGL_EXT_swap_control_tear", false},
        {"WGL_EXT_swap_control_tear WGL_EXT_swap_control", true},
        {"XWGL_EXT_swap_control", false},
        {"WGL_EXT_swap", false},
        {"", false},
        {nullptr, false},
    };
    for (const ExtensionCase& c : cases) {
        SCOPED_TRACE(c.list != nullptr ? c.list : "(null)");
        EXPECT_EQ(ExtensionListHas(c.list, wanted), c.named);
    }
}

}  // namespace
