// Escaping of control bytes and malformed UTF-8 for printing.
#include "core/base/printable_text.h"

#include <cstdint>

namespace vk930 {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, std::uint8_t byte) {
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

bool InRange(std::uint8_t byte, std::uint8_t low, std::uint8_t high) {
    return byte >= low && byte <= high;
}

// The length of the well-formed UTF-8 sequence that starts at `at` (2 to 4), or 0 when none
// does. The second byte's range excludes overlong forms, surrogates and code points above
// U+10FFFF; the bytes after it are plain continuation bytes.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[at + i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    std::uint8_t secondLow = 0x80;
    std::uint8_t secondHigh = 0xBF;
    if (InRange(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (InRange(lead, 0xE0, 0xEF)) {
        length = 3;
        if (lead == 0xE0) secondLow = 0xA0;   // below: overlong
        if (lead == 0xED) secondHigh = 0x9F;  // above: surrogates
    } else if (InRange(lead, 0xF0, 0xF4)) {
        length = 4;
        if (lead == 0xF0) secondLow = 0x90;   // below: overlong
        if (lead == 0xF4) secondHigh = 0x8F;  // above: beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    if (!InRange(byte(1), secondLow, secondHigh)) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!InRange(byte(i), 0x80, 0xBF)) return 0;
    return length;
}

bool IsC1Control(std::string_view sequence) {
    return sequence.size() == 2 && static_cast<std::uint8_t>(sequence[0]) == 0xC2 &&
           static_cast<std::uint8_t>(sequence[1]) <= 0x9F;
}

}  // namespace

std::string PrintableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<std::uint8_t>(text[at]);
        if (byte == '\\') {
            out += "\\\\";
            ++at;
        } else if (byte < 0x20 || byte == 0x7F) {
            AppendEscaped(out, byte);
            ++at;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++at;
        } else if (const std::size_t length = SequenceLength(text, at); length == 0) {
            AppendEscaped(out, byte);
            ++at;
        } else {
            const std::string_view sequence = text.substr(at, length);
            if (IsC1Control(sequence)) {
                for (char c : sequence) AppendEscaped(out, static_cast<std::uint8_t>(c));
            } else {
                out += sequence;
            }
            at += length;
        }
    }
    return out;
}

}  // namespace vk930
