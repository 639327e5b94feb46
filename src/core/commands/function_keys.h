#pragma once
// The function-key table (F1 to F10): filled from a parameter file's F<n>TXT and F<n>SEND
// lines during a Set run, and written to page 1 in one pass once the whole file is read.
#include <array>
#include <string>
#include <string_view>

#include "core/commands/app_state.h"
#include "core/commands/command_context.h"
#include "core/params/parameter_table.h"

namespace vk930 {

using FunctionKeyTable = std::array<FunctionKeyEntry, kFunctionKeyCount>;

// All texts empty, all send flags 0.
void ClearFunctionKeys(FunctionKeyTable& table);

// Takes a text line (F1TXT to F10TXT: the value as it is) or a send line (F1SEND to F10SEND:
// the value converted as atoi does) into the table, replacing an earlier one. False for any
// other key.
bool StoreFunctionKeyLine(FunctionKeyTable& table, std::string_view key, std::string_view value);
// The same for a function key's row of the parameter table; false for any other row.
bool StoreFunctionKeyLine(FunctionKeyTable& table, const ParameterRow& row, std::string_view value);

// The data bytes of a key's record: its text, then a carriage return when the send flag is
// set, the text cut so that the whole fits the record's 15 bytes.
struct FunctionKeyRecord {
    std::string data;
    bool cut = false;     // the text was longer than the record holds
    size_t maxText = 15;  // characters of text the record holds (14 with a send flag)
};
FunctionKeyRecord MakeFunctionKeyRecord(const FunctionKeyEntry& entry);

// "Warning! F3 text too long, cut to 14 characters".
std::string FunctionKeyCutWarning(int n, size_t maxText);

// Logs "F-key: " and the record index (0 to 9) for every key and writes the record of each key
// that has a text; a key without text keeps its record. A text that did not fit is cut and
// warned about. False as soon as a write fails; the remaining records are not written.
bool WriteFunctionKeys(const CommandContext& ctx);

}  // namespace vk930
