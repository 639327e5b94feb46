#include "support/terminal_files.h"

#include <regex>

#include "support/temp_dir.h"

namespace vk930::test {

int StoredCommId(const std::string& settingsPath) {
    static const std::regex kLine("(^|\n)commID=(-?[0-9]+)");
    std::smatch match;
    const std::string text = ReadFile(settingsPath);
    return std::regex_search(text, match, kLine) ? std::stoi(match[2]) : -1;
}

int CarriedId(const std::string& stateFile, int whenNone) {
    const std::string state = ReadFile(stateFile);
    if (state.size() < 3) return whenNone;
    return static_cast<unsigned char>(state[1]) * 256 + static_cast<unsigned char>(state[2]);
}

}  // namespace vk930::test
