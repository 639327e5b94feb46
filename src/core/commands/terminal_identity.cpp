// The CommID of a terminal's identity, from the text the terminal answered.
#include "core/commands/terminal_identity.h"

#include <charconv>

#include "core/base/c_convert.h"

namespace vk930 {

std::optional<int> PlainCommId(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || stop != end) return std::nullopt;
    return value;
}

void SetCommIdFromText(TerminalIdentity& identity, const std::string& text) {
    identity.commIdText = text;
    identity.commId = CAtoi(text);
    identity.commIdIsNumber = PlainCommId(text).has_value();
}

}  // namespace vk930
