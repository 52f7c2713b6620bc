// The Win32 backend's records and texts: what the seam hands over must reach the Win32 calls
// field for field, and the UTF-8 texts must become the right UTF-16.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32/Win32Internal.h"

namespace {

template <typename Record>
bool SameBytes(const Record& a, const Record& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(PixelFormatRecord, EveryRequestFieldLandsInItsOwnDescriptorField) {
    // Distinct values, so that two swapped fields cannot pass. Both records list the fields in
    // the same order.
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
    const struct {
        const char* utf8;
        std::wstring utf16;
    } cases[] = {
        {"说明", {0x8BF4, 0x660E}},  // the prompt's caption
        {"吗?\nOK", {0x5417, L'?', L'\n', L'O', L'K'}},
        {"\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},  // beyond the 16-bit plane
        {"a\xFF"
         "b",
         {L'a', 0xFFFD, L'b'}},  // a byte that is not UTF-8
        {"", {}},
        {nullptr, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8 != nullptr ? c.utf8 : "(null)");
        EXPECT_EQ(platform::win32::WideFromUtf8(c.utf8), c.utf16);
    }
}

}  // namespace
