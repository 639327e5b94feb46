#include "core/base/windows_command_line.h"

namespace vk930 {

std::string QuoteWindowsArgument(const std::string& argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote escape it: each must be doubled, and the quote escaped.
        const std::size_t copies = c == '"' ? 2 * backslashes + 1 : backslashes;
        quoted.append(copies, '\\');
        backslashes = 0;
        quoted += c;
    }
    // The closing quote follows: trailing backslashes must not escape it.
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

std::string WindowsProgramWord(const std::string& program) {
    if (program.find_first_of(" \t") == std::string::npos) return program;
    return "\"" + program + "\"";
}

std::string EditorCommandLine(const std::string& program, const std::string& path) {
    const std::string word = WindowsProgramWord(program);
    if (path.empty()) return word;
    return word + " " + QuoteWindowsArgument(path);
}

}  // namespace vk930
