#pragma once
// How an operation-log entry's characters are shown: a terminal's raw texts may hold control
// bytes, which would cut or steer the line. Works on UTF-16 code units, which both windows'
// toolkits use; the entry itself keeps its own text.
#include <string>

namespace vk930 {

// The control bytes as their pictures (U+2400 to U+241F, DEL as U+2421: a CR is a visible
// symbol instead of a line break that would cut the entry), and the characters that would
// break or steer the line (the C1 controls, which a terminal's raw Latin-1 text holds, and
// the line and paragraph separators) as U+FFFD; every other unit as it is.
char16_t LogPicture(char16_t unit);

// The whole text with every unit shown as LogPicture says.
std::u16string LogPictures(std::u16string text);

}  // namespace vk930
