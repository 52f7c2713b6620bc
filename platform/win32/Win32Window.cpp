// Window classes and the main window. A class registered through the seam gets one real
// window procedure, which hands every message of the class's windows to the seam's procedure
// unchanged: the same id, wParam and lParam, and its result back to Windows.
#include <vector>

#include "platform/win32/Win32Internal.h"

// After <windows.h>, which it needs and does not include.
#include <shellapi.h>

namespace platform::win32 {
namespace {

struct RegisteredClass {
    ATOM atom = 0;
    WindowProcedure procedure = nullptr;
};

std::vector<RegisteredClass> g_classes;
HWND g_mainWindow = nullptr;

WindowProcedure ProcedureOfClass(HWND hwnd) {
    const auto atom = static_cast<ATOM>(GetClassLongPtrA(hwnd, GCW_ATOM));
    for (const RegisteredClass& registered : g_classes) {
        if (registered.atom == atom) {
            return registered.procedure;
        }
    }
    return nullptr;
}

LRESULT CALLBACK ClassWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowProcedure procedure = ProcedureOfClass(hwnd);
    if (procedure == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_DROPFILES) {
        NoteDropArrived(wParam);
    }
    return procedure(ToWindow(hwnd), message, wParam, lParam);
}

}  // namespace

HWND MainWindow() {
    return g_mainWindow != nullptr && IsWindow(g_mainWindow) ? g_mainWindow : nullptr;
}

}  // namespace platform::win32

namespace platform {

using namespace win32;

bool RegisterWindowClass(const WindowClass& windowClass) {
    if (windowClass.procedure == nullptr) {
        return false;
    }
    // No icon, cursor, background brush or menu: the frames paint the whole client area.
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = windowClass.style;
    wc.lpfnWndProc = ClassWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = windowClass.className;
    const ATOM atom = RegisterClassExA(&wc);
    if (atom == 0) {
        return false;
    }
    g_classes.push_back({atom, windowClass.procedure});
    return true;
}

WindowHandle CreateMainWindow(const WindowSpec& windowSpec) {
    // Windows sends the creation message inside this call and the first size message no later
    // than the showing, as the seam promises.
    g_mainWindow = CreateWindowExA(0, windowSpec.className, windowSpec.title, windowSpec.style,
                                   windowSpec.x, windowSpec.y, windowSpec.width, windowSpec.height,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (g_mainWindow != nullptr) {
        DragAcceptFiles(g_mainWindow, TRUE);  // a model file dropped on it is opened
    }
    return ToWindow(g_mainWindow);
}

void SetWindowTitle(WindowHandle window, const char* title) {
    SetWindowTextW(ToHwnd(window), WideFromUtf8(title).c_str());
}

void ShowMainWindow(WindowHandle window) {
    ShowWindow(ToHwnd(window), SW_SHOWDEFAULT);
}

void UpdateMainWindow(WindowHandle window) {
    UpdateWindow(ToHwnd(window));
}

std::intptr_t DefaultWindowProcedure(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == WM_DROPFILES) {
        TakeDroppedFile(wParam);  // a drop the procedure leaves is released, as no one else would
        return 0;
    }
    return DefWindowProcA(ToHwnd(window), message, wParam, lParam);
}

}  // namespace platform
