#include "core/params/parameter_table.h"

#include <gtest/gtest.h>

#include <set>

namespace vk930::test {
namespace {

bool SameFunctionKey(const ParameterRow& a, const ParameterRow& b) {
    return a.functionKey != 0 && a.functionKey == b.functionKey;
}

TEST(PageMap, FieldsLieInsideTheirPageAndNeverOverlap) {
    for (const ParameterRow& a : ParameterTable()) {
        if (!a.HasPlace()) continue;
        EXPECT_TRUE(a.page == 0 || a.page == 1) << a.key;
        EXPECT_GE(a.offset, 0) << a.key;
        EXPECT_LE(a.offset + a.width, 256) << a.key;
        for (const ParameterRow& b : ParameterTable()) {
            // A function key's text and send rows name the same record.
            if (&a == &b || a.page != b.page || SameFunctionKey(a, b)) continue;
            const bool apart = a.offset + a.width <= b.offset || b.offset + b.width <= a.offset;
            EXPECT_TRUE(apart) << a.key << " overlaps " << b.key;
        }
    }
    EXPECT_EQ(FunctionKeyBase(1), 20);
    EXPECT_EQ(FunctionKeyBase(3), 52);
    EXPECT_EQ(FunctionKeyBase(10) + kFunctionKeyRecordWidth - 1, 179);
}

TEST(ParameterTable, KnowsEveryKeyOfTheFileExactlyOnce) {
    // The key names the terminal's configuration tool has always kept, and the five it uses
    // beside them; SYSTEM and END are lines of their own.
    const std::vector<std::string_view> vocabulary = {
        "HEADING",      "EXTRAID",      "PASSWORD",   "SLEEP",      "VOLUME",      "RECTIMELIMIT",
        "CHANNEL",      "RESENDTIMES",  "MENULANG",   "RECMODE",    "USEFORMLOCK", "USECUSTOMTXT",
        "FORMLOCKTXT1", "FORMLOCKTXT2", "USEENCRYPT", "ENCRYPTKEY", "BATTERY",     "WAKESCAN",
        "KEYSOUND",     "F1TXT",        "F1SEND",     "F2TXT",      "F2SEND",      "F3TXT",
        "F3SEND",       "F4TXT",        "F4SEND",     "F5TXT",      "F5SEND",      "F6TXT",
        "F6SEND",       "F7TXT",        "F7SEND",     "F8TXT",      "F8SEND",      "F9TXT",
        "F9SEND",       "F10TXT",       "F10SEND",    "LANGUAGE",   "LEDONOFF",    "VOL_FREQ",
        "DOT_COMMA",    "WAIT_TIME"};
    std::set<std::string_view> keys;
    for (const ParameterRow& row : ParameterTable()) keys.insert(row.key);
    EXPECT_EQ(keys.size(), ParameterTable().size());  // no key twice
    EXPECT_EQ(keys, std::set<std::string_view>(vocabulary.begin(), vocabulary.end()));
    for (std::string_view key : vocabulary) {
        const ParameterRow* row = FindParameter(key);
        ASSERT_NE(row, nullptr) << key;
        EXPECT_EQ(row->key, key);
    }
    for (std::string_view key : {"SYSTEM", "END", "heading", "HEADING ", "F11TXT", "F0SEND", ""})
        EXPECT_EQ(FindParameter(key), nullptr) << key;
    // Named in the vocabulary, but no byte belongs to them: neither Get nor Set touches them.
    for (std::string_view key :
         {"RECTIMELIMIT", "CHANNEL", "RESENDTIMES", "USEENCRYPT", "ENCRYPTKEY"}) {
        const ParameterRow* row = FindParameter(key);
        EXPECT_FALSE(row->HasPlace()) << key;
        EXPECT_EQ(row->keyedLine, 0) << key;
        EXPECT_FALSE(row->applied) << key;
    }
}

TEST(ParameterTable, KeyedFormRowsRunInLineOrderAndAllButMenulangAreApplied) {
    const auto rows = KeyedFormRows();
    ASSERT_EQ(rows.size(), 39u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].keyedLine, static_cast<int>(i) + 1) << rows[i].key;
        EXPECT_TRUE(rows[i].HasPlace()) << rows[i].key;
        EXPECT_EQ(rows[i].applied, rows[i].key != "MENULANG") << rows[i].key;
    }
    EXPECT_EQ(rows.front().key, "HEADING");
    EXPECT_EQ(rows[7].key, "PASSWORD");
    EXPECT_EQ(rows[18].key, "KEYSOUND");
    for (int n = 1; n <= 10; ++n) {
        const ParameterRow& text = rows[static_cast<size_t>(17 + 2 * n)];
        const ParameterRow& send = rows[static_cast<size_t>(18 + 2 * n)];
        EXPECT_EQ(text.key, "F" + std::to_string(n) + "TXT");
        EXPECT_EQ(send.key, "F" + std::to_string(n) + "SEND");
        for (const ParameterRow* row : {&text, &send}) {
            EXPECT_EQ(row->functionKey, n) << row->key;
            EXPECT_EQ(row->page, 1) << row->key;
            EXPECT_EQ(row->offset, FunctionKeyBase(n)) << row->key;
        }
        EXPECT_EQ(text.encoding, Encoding::kFunctionKeyText);
        EXPECT_EQ(send.encoding, Encoding::kFunctionKeySend);
    }
}

TEST(ParameterTable, EveryCheckedNumberHasAWarningAndASubstituteItAccepts) {
    int checked = 0;
    for (const ParameterRow& row : ParameterTable()) {
        const bool number = row.encoding == Encoding::kByte || row.encoding == Encoding::kTwoByte;
        EXPECT_EQ(row.range.has_value(), number && row.applied) << row.key;
        if (!row.range) {
            EXPECT_TRUE(row.warning.empty()) << row.key;
            continue;
        }
        ++checked;
        EXPECT_TRUE(row.warning.starts_with("Warning! ")) << row.key;
        EXPECT_GE(row.range->min, 0) << row.key;
        EXPECT_LE(row.range->max, row.encoding == Encoding::kByte ? 255 : 65535) << row.key;
        EXPECT_GE(row.substitute, row.range->min) << row.key;
        EXPECT_LE(row.substitute, row.range->max) << row.key;
        EXPECT_EQ(row.width, row.encoding == Encoding::kByte ? 1 : 2) << row.key;
    }
    EXPECT_EQ(checked, 15);
    EXPECT_EQ(FindParameter("SLEEP")->range->min, 5);  // the one key with a lower bound above 0
}

}  // namespace
}  // namespace vk930::test
