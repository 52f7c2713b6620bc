// The two message boxes. The texts come as UTF-8 and are shown through the wide-character
// MessageBoxW, so that the Chinese reads correctly on a Windows of any language, not only
// where the ANSI code page is GBK.
#include "platform/win32/Win32Internal.h"

namespace platform::win32 {
namespace {

// Prompt flags: Yes and No buttons, the question icon, above every other window.
constexpr UINT kPromptStyle = MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL;
// Warning flags: one OK button and the exclamation icon.
constexpr UINT kWarningStyle = MB_OK | MB_ICONEXCLAMATION;

// A null text or caption stays null, as MessageBoxW expects for its defaults.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    const std::wstring wideText = WideFromUtf8(text);
    const std::wstring wideCaption = WideFromUtf8(caption);
    return MessageBoxW(owner, text != nullptr ? wideText.c_str() : nullptr,
                       caption != nullptr ? wideCaption.c_str() : nullptr, style);
}

}  // namespace
}  // namespace platform::win32

namespace platform {

int AskYesNo(const char* text, const char* caption) {
    return win32::ShowMessageBox(nullptr, text, caption, win32::kPromptStyle);
}

void ShowWarning(const char* text, const char* caption) {
    // A shown main window owns the box: it stays in front of a window covering the screen, and
    // the window takes no input (such as a second drop) until it is dismissed. Before then
    // there is none to own it.
    const HWND window = win32::MainWindow();
    const HWND owner = window != nullptr && IsWindowVisible(window) ? window : nullptr;
    win32::ShowMessageBox(owner, text, caption, win32::kWarningStyle);
}

}  // namespace platform
