// Files dropped on the main window. Each WM_DROPFILES carries a drop handle that must be
// released exactly once; a handle counts from its message's arrival at the window until it is
// taken, so that one taken twice, or never given, is refused instead of read after its release.
#include <algorithm>
#include <vector>

#include "platform/win32/Win32Internal.h"

// After <windows.h>, which it needs and does not include.
#include <shellapi.h>

namespace platform::win32 {
namespace {

static_assert(kMessageDropFiles == WM_DROPFILES);

// No Windows path is longer, in UTF-16 units.
constexpr UINT kLongestPath = 32767;

std::vector<HDROP> g_pendingDrops;

}  // namespace

void NoteDropArrived(std::uintptr_t drop) {
    const auto hdrop = reinterpret_cast<HDROP>(drop);
    if (std::find(g_pendingDrops.begin(), g_pendingDrops.end(), hdrop) == g_pendingDrops.end()) {
        g_pendingDrops.push_back(hdrop);
    }
}

}  // namespace platform::win32

namespace platform {

using namespace win32;

std::string TakeDroppedFile(std::uintptr_t drop) {
    const auto hdrop = reinterpret_cast<HDROP>(drop);
    const auto pending = std::find(g_pendingDrops.begin(), g_pendingDrops.end(), hdrop);
    if (pending == g_pendingDrops.end()) {
        return {};
    }
    g_pendingDrops.erase(pending);
    // The length without the terminating zero; 0 when the drop holds no file.
    const UINT length = DragQueryFileW(hdrop, 0, nullptr, 0);
    std::wstring wide;
    if (length != 0 && length <= kLongestPath) {
        wide.assign(length + 1, L'\0');
        wide.resize(std::min(DragQueryFileW(hdrop, 0, wide.data(), length + 1), length));
    }
    DragFinish(hdrop);
    return Utf8FromWide(wide.c_str());
}

}  // namespace platform
