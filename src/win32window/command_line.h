#pragma once
// vk930config.exe's command line:  vk930config [--link SPEC] [FILE.pcg]
#include <optional>
#include <string>
#include <vector>

#include "core/base/result.h"

namespace vk930 {

struct Win32CommandLine {
    std::optional<std::string> link;  // --link: what every COM port reaches
    std::string file;                 // the document to open, made absolute; empty: none
};

// The arguments after the program's name; an unknown option or a second file is an error.
Result<Win32CommandLine> ParseWin32CommandLine(const std::vector<std::string>& arguments);

// The process's own arguments, after the program's name.
std::vector<std::string> ProcessArguments();

}  // namespace vk930
