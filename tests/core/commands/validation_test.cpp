#include "core/commands/validation.h"

#include <gtest/gtest.h>

#include "core/commands/function_keys.h"

namespace vk930::test {
namespace {

CheckedNumber Check(std::string_view key, std::string_view text) {
    const ParameterRow* row = FindParameter(key);
    EXPECT_TRUE(row && row->range) << key;
    if (!row || !row->range) return {-1, false};
    return CheckNumber(text, *row);
}

TEST(CheckNumber, OutOfRangeValuesGetTheirKeysSubstitute) {
    struct Case {
        const char* key;
        const char* text;
        int value;
        bool replaced;
    };
    const std::vector<Case> cases = {
        {"SLEEP", "4", 99, true},
        {"SLEEP", "100", 99, true},
        {"SLEEP", "abc", 99, true},
        {"SLEEP", "5", 5, false},
        {"SLEEP", "99", 99, false},
        {"WAIT_TIME", "21", 15, true},
        {"WAIT_TIME", "20", 20, false},
        {"VOLUME", "7", 4, true},
        {"LANGUAGE", "4", 1, true},
        {"VOL_FREQ", "256", 1, true},
        {"VOL_FREQ", "255", 255, false},
        {"LEDONOFF", "2", 1, true},
        {"DOT_COMMA", "2", 0, true},
        {"RECMODE", "2", 0, true},
        {"USEFORMLOCK", "2", 0, true},
        {"USECUSTOMTXT", "2", 0, true},
        {"BATTERY", "2", 0, true},
        {"WAKESCAN", "2", 0, true},
        {"KEYSOUND", "2", 0, true},
        {"KEYSOUND", " 1", 1, false},
        {"KEYSOUND", "1abc", 1, false},
        {"KEYSOUND", "abc", 0, false},
        {"PASSWORD", "10000", 0, true},
        {"PASSWORD", "9999", 9999, false},
        {"EXTRAID", "300", 0, true},
        {"EXTRAID", "99999999999", 0, true},
        // Negative numbers are out of range for every key.
        {"EXTRAID", "-1", 0, true},
        {"PASSWORD", "-1", 0, true},
        {"LEDONOFF", "-5", 1, true},
        {"SLEEP", "-50", 99, true},
        {"VOLUME", "-2147483648", 4, true},
    };
    for (const Case& c : cases) {
        const CheckedNumber n = Check(c.key, c.text);
        EXPECT_EQ(n.value, c.value) << c.key << ":" << c.text;
        EXPECT_EQ(n.replaced, c.replaced) << c.key << ":" << c.text;
    }
    // MENULANG is never checked (nor written); keys match exactly.
    ASSERT_NE(FindParameter("MENULANG"), nullptr);
    EXPECT_FALSE(FindParameter("MENULANG")->range);
    EXPECT_EQ(FindParameter("keysound"), nullptr);
}

TEST(ParseSystemValue, PageFromTheFirstCharacterOffsetAndByteBetweenCommas) {
    struct Case {
        const char* value;
        std::optional<SystemByte> parsed;
    };
    const std::vector<Case> cases = {
        {"0,17,39", SystemByte{0, 17, 39}}, {"1,255,255", SystemByte{1, 255, 255}},
        {"10,5,3", SystemByte{1, 5, 3}},  // the page is the first character only
        {"1", SystemByte{1, 0, 1}},       // no comma: offset 0, the byte is the whole value
        {"0,5", SystemByte{0, 0, 0}},     // one comma: no offset, the byte reads "0,5"
        {"0,5,3abc", SystemByte{0, 5, 3}},  {"2,0,0", std::nullopt},
        {"0,256,1", std::nullopt},          {"1,5,300", std::nullopt},
        {"-1,5,3", std::nullopt},  // negative numbers never reach the link
        {"0,-5,3", std::nullopt},           {"0,5,-3", std::nullopt},
        {"0,99999999999,1", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseSystemValue(c.value), c.parsed) << c.value;
}

TEST(FitTextField, CutOrPaddedToTwentyCharacters) {
    EXPECT_EQ(FitTextField("ABC"), "ABC                 ");
    EXPECT_EQ(FitTextField(""), std::string(20, ' '));
    EXPECT_EQ(FitTextField("ABCDEFGHIJKLMNOPQRSTUVWXY"), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(FitTextField("12345678901234567890"), "12345678901234567890");
}

TEST(FunctionKeyTable, TextAndSendLinesFillTheirEntry) {
    FunctionKeyTable table;
    EXPECT_TRUE(StoreFunctionKeyLine(table, "F3TXT", "ABC"));
    EXPECT_TRUE(StoreFunctionKeyLine(table, "F3TXT", " X: Y "));  // the later text wins, as is
    EXPECT_TRUE(StoreFunctionKeyLine(table, "F10SEND", " 1"));
    EXPECT_TRUE(StoreFunctionKeyLine(table, "F1SEND", "-1"));
    EXPECT_FALSE(StoreFunctionKeyLine(table, "F11TXT", "A"));
    EXPECT_FALSE(StoreFunctionKeyLine(table, "F03TXT", "A"));
    EXPECT_FALSE(StoreFunctionKeyLine(table, "f3txt", "A"));
    EXPECT_EQ(table[2].text, " X: Y ");
    EXPECT_EQ(table[9].sendFlag, 1);
    EXPECT_EQ(table[0].sendFlag, -1);
    ClearFunctionKeys(table);
    EXPECT_EQ(table[2].text, "");
    EXPECT_EQ(table[9].sendFlag, 0);
}

TEST(FunctionKeyRecord, TextAndCarriageReturnFitFifteenBytes) {
    struct Case {
        FunctionKeyEntry entry;
        std::string data;
        bool cut;
    };
    const std::string fifteen = "ABCDEFGHIJKLMNO";
    const std::vector<Case> cases = {
        {{"ABC", 1}, "ABC\r", false},
        {{"ABC", 0}, "ABC", false},
        {{"ABC", -1}, "ABC\r", false},  // any nonzero flag sends
        {{fifteen, 0}, fifteen, false},
        {{fifteen, 1}, fifteen.substr(0, 14) + "\r", true},
        {{fifteen + "P", 0}, fifteen, true},
        {{std::string(200, 'Z'), 0}, std::string(15, 'Z'), true},
    };
    for (const Case& c : cases) {
        const FunctionKeyRecord record = MakeFunctionKeyRecord(c.entry);
        EXPECT_EQ(record.data, c.data) << c.entry.text;
        EXPECT_EQ(record.cut, c.cut) << c.entry.text;
        EXPECT_LE(record.data.size(), 15u);
    }
    EXPECT_EQ(FunctionKeyCutWarning(3, 14), "Warning! F3 text too long, cut to 14 characters");
}

}  // namespace
}  // namespace vk930::test
