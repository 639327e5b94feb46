#pragma once
// The one parameter table: a row per key of the parameter file, with where its value lives in
// the terminal's pages, how it is encoded, the range Set accepts, what Set logs and writes
// instead of a value out of range, its line in the keyed form and whether Set applies it.
// The file writer and reader, the validator and the tests take their facts from here.
#include <optional>
#include <span>
#include <string_view>

namespace vk930 {

enum class Encoding {
    kNone,             // no place in the pages: a file may name the key, nothing reads or writes it
    kByte,             // one byte, its decimal value
    kTwoByte,          // two bytes, high byte first
    kText,             // 20 characters, filled with spaces
    kFunctionKeyText,  // the text of a 16-byte function-key record (length, then the data)
    kFunctionKeySend,  // the send flag of the same record: its data ends with a carriage return
};

// The values Set accepts for a number, bounds included.
struct ValueRange {
    int min;
    int max;
};

inline constexpr int kNoPage = -1;

struct ParameterRow {
    std::string_view key;  // compared exactly, case included
    int page = kNoPage;    // 0 or 1; kNoPage for a key with no place in the pages
    int offset = 0;        // first byte; a function key's row names its whole record
    int width = 0;         // bytes
    Encoding encoding = Encoding::kNone;
    std::optional<ValueRange> range;  // the numbers Set checks; none for texts and function keys
    std::string_view warning;         // logged with icon kind 0 for a number out of range
    int substitute = 0;               // written in place of a number out of range
    int keyedLine = 0;                // line of the keyed form, 1 to 39; 0: Get never writes it
    bool applied = false;             // Set writes it (a function key: into the function-key table)
    int functionKey = 0;              // n of Fn for the function-key rows, else 0

    bool HasPlace() const { return page != kNoPage; }
};

inline constexpr int kTextFieldWidth = 20;
inline constexpr int kFunctionKeyCount = 10;
inline constexpr int kFunctionKeyRecordWidth = 16;
inline constexpr int kFunctionKeyMaxData = kFunctionKeyRecordWidth - 1;
inline constexpr int kFunctionKeyFirstOffset = 20;
inline constexpr char kCarriageReturn = '\r';
// Keyed lines the keyed form holds before its END line.
inline constexpr int kKeyedFormKeys = 39;

// First byte (the length byte) of function key n (1 to 10) on page 1.
constexpr int FunctionKeyBase(int n) {
    return kFunctionKeyFirstOffset + kFunctionKeyRecordWidth * (n - 1);
}

// Every row: the keyed form's rows in line order, then the keys Get never writes.
std::span<const ParameterRow> ParameterTable();
// The rows Get writes, in the keyed form's line order (a function key's text row right before
// its send row).
std::span<const ParameterRow> KeyedFormRows();
// The row of a key, compared exactly; nullptr for a key the table does not know (SYSTEM and
// END are lines of their own kind, not rows).
const ParameterRow* FindParameter(std::string_view key);

}  // namespace vk930
