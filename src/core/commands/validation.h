#pragma once
// Checking and encoding the lines of a parameter file: a number against its key's range (the
// range, warning and substitute are the parameter table's), the text fields, raw SYSTEM bytes,
// and the write into the terminal's pages.
#include <optional>
#include <string>
#include <string_view>

#include "core/commands/command_context.h"
#include "core/commands/terminal_identity.h"
#include "core/params/parameter_table.h"

namespace vk930 {

inline constexpr std::string_view kSystemNotValid = "Warning! SYSTEM value not valid!";

struct CheckedNumber {
    int value;
    bool replaced;  // the text was out of range and the substitute took its place
};
// Converts the text as atoi does; a number outside the row's range, negative numbers included,
// becomes the row's substitute. Text without digits is 0. The row must have a range.
CheckedNumber CheckNumber(std::string_view text, const ParameterRow& row);

// A raw byte of a SYSTEM line: "page,offset,byte".
struct SystemByte {
    int page;
    int offset;
    int byte;
    bool operator==(const SystemByte&) const = default;
};
// The page is the value's first character alone; the offset lies between the first and the
// second comma (empty: 0); the byte follows the second comma (no second comma: the whole
// value). Valid when page is 0 or 1 and offset and byte are 0 to 255; a leading minus sign
// makes the page negative.
std::optional<SystemByte> ParseSystemValue(std::string_view value);

// Takes a SYSTEM byte of the CommID that differs from the terminal's into `hold` instead of
// writing it (unless the hold allows the change); false for any other byte.
bool HoldsCommIdByte(CommIdHold& hold, const SystemByte& raw);
// After the lines of a Set: the one warning that the file's CommID was held back, naming it
// (a byte the file did not give is the terminal's); nullopt when nothing was held back.
std::optional<std::string> HeldCommIdWarning(const CommandContext& ctx);

// A text field's value brought to exactly 20 characters: cut, or filled with spaces.
std::string FitTextField(std::string_view value);

// Checks one key and value of a parameter file and writes it into the terminal, or takes a
// function-key line into the function-key table. True when the line was handled (an unknown
// key, a warning and an invalid SYSTEM value included); false as soon as a link call failed.
bool WriteParameter(const CommandContext& ctx, const std::string& key, const std::string& value);

}  // namespace vk930
