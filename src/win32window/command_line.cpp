// Reading vk930config.exe's arguments.
#include "win32window/command_line.h"

#include <windows.h>
// The shell's header needs the definitions of windows.h first.
#include <shellapi.h>

#include "win32window/wide_text.h"

namespace vk930 {

namespace {

constexpr char kLinkOption[] = "--link";

std::string FullPath(const std::string& path) {
    const std::wstring wide = Widen(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return Narrow(full);
}

}  // namespace

Result<Win32CommandLine> ParseWin32CommandLine(const std::vector<std::string>& arguments) {
    Win32CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == kLinkOption) {
            if (i + 1 == arguments.size()) return Error{"--link needs a link spec, e.g. COM3"};
            line.link = arguments[++i];
        } else if (argument.rfind("--", 0) == 0) {
            return Error{"unknown option " + argument +
                         "; usage: vk930config [--link SPEC] [FILE.pcg]"};
        } else if (!line.file.empty()) {
            return Error{"one parameter file at a time, not also " + argument};
        } else {
            line.file = FullPath(argument);
        }
    }
    return line;
}

std::vector<std::string> ProcessArguments() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Narrow(words[i]));
    LocalFree(words);
    return arguments;
}

}  // namespace vk930
