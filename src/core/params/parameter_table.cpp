#include "core/params/parameter_table.h"

#include <algorithm>
#include <array>

namespace vk930 {

namespace {

struct NumberRule {
    ValueRange range;
    std::string_view warning;
    int substitute;
};

constexpr ParameterRow Number(int line, std::string_view key, int offset, NumberRule rule) {
    return {.key = key,
            .page = 0,
            .offset = offset,
            .width = 1,
            .encoding = Encoding::kByte,
            .range = rule.range,
            .warning = rule.warning,
            .substitute = rule.substitute,
            .keyedLine = line,
            .applied = true};
}

constexpr ParameterRow Text(int line, std::string_view key, int page, int offset) {
    return {.key = key,
            .page = page,
            .offset = offset,
            .width = kTextFieldWidth,
            .encoding = Encoding::kText,
            .range = std::nullopt,
            .warning = {},
            .keyedLine = line,
            .applied = true};
}

constexpr ParameterRow FunctionKey(std::string_view key, Encoding encoding, int n) {
    const int textLine = 20 + 2 * (n - 1);
    return {.key = key,
            .page = 1,
            .offset = FunctionKeyBase(n),
            .width = kFunctionKeyRecordWidth,
            .encoding = encoding,
            .range = std::nullopt,
            .warning = {},
            .keyedLine = encoding == Encoding::kFunctionKeyText ? textLine : textLine + 1,
            .applied = true,
            .functionKey = n};
}

constexpr ParameterRow FunctionKeyText(std::string_view key, int n) {
    return FunctionKey(key, Encoding::kFunctionKeyText, n);
}

constexpr ParameterRow FunctionKeySend(std::string_view key, int n) {
    return FunctionKey(key, Encoding::kFunctionKeySend, n);
}

// Keys of the file's vocabulary that no byte of the pages belongs to: a line naming one is
// ignored.
constexpr ParameterRow Placeless(std::string_view key) {
    return {.key = key, .range = std::nullopt, .warning = {}};
}

constexpr ValueRange kFlag{0, 1};

constexpr std::array kTable = {
    Text(1, "HEADING", 1, 0),
    Number(2, "EXTRAID", 3, {{0, 255}, "Warning! ExtraID value too big", 0}),
    Number(3, "LANGUAGE", 8, {{0, 3}, "Warning! Menu language value should be 0 - 3", 1}),
    Number(4, "LEDONOFF", 10, {kFlag, "Warning! LED on/off value should be 0 or 1", 1}),
    Number(5, "VOL_FREQ", 13, {{0, 255}, "Warning! Volume frequency value should be 0 - 255", 1}),
    Number(6, "DOT_COMMA", 20, {kFlag, "Warning! Dot,Comma value should be 0 or 1", 0}),
    Number(7, "WAIT_TIME", 22, {{0, 20}, "Warning! WaitTime value should be 0 - 20", 15}),
    ParameterRow{.key = "PASSWORD",
                 .page = 0,
                 .offset = 17,
                 .width = 2,
                 .encoding = Encoding::kTwoByte,
                 .range = ValueRange{0, 9999},
                 .warning = "Warning! Password value too big",
                 .substitute = 0,
                 .keyedLine = 8,
                 .applied = true},
    Number(9, "SLEEP", 5, {{5, 99}, "Warning! Sleep value range should be 5-99 sec.", 99}),
    Number(10, "VOLUME", 16, {{0, 6}, "Warning! volume value range should be 0-6.", 4}),
    // Read into the file, never written back.
    ParameterRow{.key = "MENULANG",
                 .page = 0,
                 .offset = 73,
                 .width = 1,
                 .encoding = Encoding::kByte,
                 .range = std::nullopt,
                 .warning = {},
                 .keyedLine = 11},
    Number(12, "RECMODE", 21, {kFlag, "Warning! Receive mode value should be 0 or 1", 0}),
    Number(13, "USEFORMLOCK", 78, {kFlag, "Warning! Use Formlock value should be 0 or 1", 0}),
    Number(14, "USECUSTOMTXT", 99,
           {kFlag, "Warning! Use Formlock custom txt value should be 0 or 1", 0}),
    Text(15, "FORMLOCKTXT1", 0, 100),
    Text(16, "FORMLOCKTXT2", 0, 120),
    Number(17, "BATTERY", 23, {kFlag, "Warning! Battery value should be 0 or 1", 0}),
    Number(18, "WAKESCAN", 90, {kFlag, "Warning! Wake & Scan value should be 0 or 1", 0}),
    Number(19, "KEYSOUND", 15, {kFlag, "Warning! Key Sound value should be 0 or 1", 0}),
    FunctionKeyText("F1TXT", 1),
    FunctionKeySend("F1SEND", 1),
    FunctionKeyText("F2TXT", 2),
    FunctionKeySend("F2SEND", 2),
    FunctionKeyText("F3TXT", 3),
    FunctionKeySend("F3SEND", 3),
    FunctionKeyText("F4TXT", 4),
    FunctionKeySend("F4SEND", 4),
    FunctionKeyText("F5TXT", 5),
    FunctionKeySend("F5SEND", 5),
    FunctionKeyText("F6TXT", 6),
    FunctionKeySend("F6SEND", 6),
    FunctionKeyText("F7TXT", 7),
    FunctionKeySend("F7SEND", 7),
    FunctionKeyText("F8TXT", 8),
    FunctionKeySend("F8SEND", 8),
    FunctionKeyText("F9TXT", 9),
    FunctionKeySend("F9SEND", 9),
    FunctionKeyText("F10TXT", 10),
    FunctionKeySend("F10SEND", 10),
    Placeless("RECTIMELIMIT"),
    Placeless("CHANNEL"),
    Placeless("RESENDTIMES"),
    Placeless("USEENCRYPT"),
    Placeless("ENCRYPTKEY"),
};

// The keyed form is the table's first rows, so its order is the table's own.
constexpr bool KeyedRowsComeFirstInLineOrder() {
    for (size_t i = 0; i < kTable.size(); ++i) {
        const int line = i < kKeyedFormKeys ? static_cast<int>(i) + 1 : 0;
        if (kTable[i].keyedLine != line) return false;
    }
    return true;
}
static_assert(KeyedRowsComeFirstInLineOrder());

// The writer decodes a record at its text row and writes the send line from that decoding.
constexpr bool SendRowsFollowTheirTextRow() {
    for (size_t i = 0; i < kTable.size(); ++i) {
        if (kTable[i].encoding != Encoding::kFunctionKeySend) continue;
        if (i == 0 || kTable[i - 1].encoding != Encoding::kFunctionKeyText ||
            kTable[i - 1].functionKey != kTable[i].functionKey)
            return false;
    }
    return true;
}
static_assert(SendRowsFollowTheirTextRow());

}  // namespace

std::span<const ParameterRow> ParameterTable() {
    return kTable;
}

std::span<const ParameterRow> KeyedFormRows() {
    return std::span<const ParameterRow>(kTable).first(kKeyedFormKeys);
}

const ParameterRow* FindParameter(std::string_view key) {
    const auto found = std::find_if(kTable.begin(), kTable.end(),
                                    [key](const ParameterRow& row) { return row.key == key; });
    return found == kTable.end() ? nullptr : &*found;
}

}  // namespace vk930
