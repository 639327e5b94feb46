#pragma once
// Text made safe to print on one line of a terminal or a text stream: every byte that a
// terminal would act on, or that is not text, is written as a visible escape.
//
// The rules (the porcelain format documents them, scripts undo them):
// - a byte below 0x20 (tab, CR and LF included) and 0x7F become `\xNN`, two upper-case hex
//   digits;
// - a backslash becomes `\\`, so a `\x` typed in a text never reads as an escape;
// - a byte that is not part of a well-formed UTF-8 sequence (a stray continuation byte, a
//   truncated or overlong sequence, a surrogate, a code point above U+10FFFF, 0xC0, 0xC1,
//   0xF5 to 0xFF) becomes `\xNN`;
// - a well-formed sequence for U+0080 to U+009F (the C1 controls: U+009B is a terminal's
//   CSI) becomes `\xC2\xNN`;
// - every other well-formed UTF-8 sequence is copied unchanged.
// The result holds no control byte and no line end, and it names the original bytes exactly.
// Texts are kept raw everywhere else; only what is printed for a reader passes through here.
#include <string>
#include <string_view>

namespace vk930 {

std::string PrintableText(std::string_view text);

}  // namespace vk930
