#pragma once
// The fixed texts the commands put on the form: the log entries they can append and the
// texts of the identification fields. The window sizes its controls so that each one fits.
// Texts with a port number carry the widest, "8"; echoed file lines are not fixed texts.
#include <string>
#include <vector>

namespace vk930 {

// Every fixed text of the operation log.
std::vector<std::string> FixedLogTexts();

// Every text the identification puts into one of its fields (by control id), the type label
// with its widest codes included; empty for a field without fixed texts.
std::vector<std::string> FixedFieldTexts(int controlId);

}  // namespace vk930
