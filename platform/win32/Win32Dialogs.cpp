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

// A box with no owner. A null text or caption stays null, as MessageBoxW expects for its
// defaults.
int ShowMessageBox(const char* text, const char* caption, UINT style) {
    const std::wstring wideText = WideFromUtf8(text);
    const std::wstring wideCaption = WideFromUtf8(caption);
    return MessageBoxW(nullptr, text != nullptr ? wideText.c_str() : nullptr,
                       caption != nullptr ? wideCaption.c_str() : nullptr, style);
}

}  // namespace
}  // namespace platform::win32

namespace platform {

int AskYesNo(const char* text, const char* caption) {
    return win32::ShowMessageBox(text, caption, win32::kPromptStyle);
}

void ShowWarning(const char* text, const char* caption) {
    win32::ShowMessageBox(text, caption, win32::kWarningStyle);
}

}  // namespace platform
