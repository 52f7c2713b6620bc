// The Windows entry point of the GUI-subsystem program. The arguments are read from the wide
// command line, so that a model's path arrives whole whatever the ANSI code page, and handed
// on in UTF-8. The window takes the module's instance from GetModuleHandleA, which is this one.
#include <windows.h>

#include <string>
#include <vector>

#include "app/Shell.h"
#include "platform/win32/Win32Internal.h"

// After <windows.h>, which it needs and does not include.
#include <shellapi.h>

namespace {

// The program's name and arguments, split as the C runtime would, each in UTF-8.
std::vector<std::string> Utf8Arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return arguments;
    }
    for (int index = 0; index < count; ++index) {
        arguments.push_back(platform::win32::Utf8FromWide(wide[index]));
    }
    LocalFree(wide);
    return arguments;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::vector<std::string> arguments = Utf8Arguments();
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);  // as a C program's argv ends
    return RunFromCommandLine(static_cast<int>(arguments.size()), argv.data());
}
