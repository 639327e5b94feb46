#include "core/params/page_encoding.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/command_fixture.h"
#include "support/memory_pages.h"

namespace vk930::test {
namespace {

std::array<PageBytes, 2> PagesWithRecord(int n, std::vector<std::uint8_t> record) {
    std::array<PageBytes, 2> pages{};
    for (size_t i = 0; i < record.size(); ++i) pages[1][FunctionKeyBase(n) + i] = record[i];
    return pages;
}

struct RecordCase {
    const char* name;
    std::vector<std::uint8_t> record;
    std::string text;
    int send;
    std::vector<std::string> reads;
};

TEST(FunctionKeyRecord, DecodesLengthTextAndSendFlagWithinTheRecord) {
    const std::vector<RecordCase> cases = {
        {"empty", {0}, "", 0, {"GetByte(1,52)", "GetByte(1,52)", "GetText(53,1,0)"}},
        {"only CR", {1, 13}, "", 1, {"GetByte(1,52)", "GetByte(1,53)", "GetText(53,1,0)"}},
        {"AB CR",
         {3, 'A', 'B', 13},
         "AB",
         1,
         {"GetByte(1,52)", "GetByte(1,55)", "GetText(53,1,2)"}},
        {"ABC",
         {3, 'A', 'B', 'C'},
         "ABC",
         0,
         {"GetByte(1,52)", "GetByte(1,55)", "GetText(53,1,3)"}},
        {"fresh EEPROM: length 255 reads as 15",
         std::vector<std::uint8_t>(16, 255),
         std::string(15, '\xFF'),
         0,
         {"GetByte(1,52)", "GetByte(1,67)", "GetText(53,1,15)"}},
        {"length 16 reads as 15, CR at the record's end",
         {16, 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 13},
         std::string(14, 'A'),
         1,
         {"GetByte(1,52)", "GetByte(1,67)", "GetText(53,1,14)"}},
    };
    for (const RecordCase& c : cases) {
        MemoryPages pages(PagesWithRecord(3, c.record));
        const FunctionKeyValue key = ReadFunctionKey(pages, 3);
        EXPECT_EQ(key.text, c.text) << c.name;
        EXPECT_EQ(key.sendFlag, c.send) << c.name;
        EXPECT_EQ(pages.events, c.reads) << c.name;
    }
}

TEST(PageReading, BytesAreUnsignedAndTwoByteNumbersHighFirst) {
    std::array<PageBytes, 2> bytes{};
    bytes[0][3] = 200;
    bytes[0][17] = 255;
    bytes[0][18] = 255;
    std::memcpy(bytes[1].data(), "SHOP                ", 20);
    MemoryPages pages(bytes);
    EXPECT_EQ(ReadByteValue(pages, 0, 3), 200);
    pages.events.clear();
    EXPECT_EQ(ReadTwoByteValue(pages, 0, 17), 65535);  // not clamped to the writing side's 9999
    EXPECT_EQ(pages.events, (std::vector<std::string>{"GetByte(0,17)", "GetByte(0,18)"}));
    EXPECT_EQ(ReadTextField(pages, 1, 0), "SHOP                ");
}

TEST(WriteResults, ZeroAndMinusOneAreBothFailures) {
    EXPECT_FALSE(WriteSucceeded(0));
    EXPECT_FALSE(WriteSucceeded(-1));
    EXPECT_TRUE(WriteSucceeded(1));
    EXPECT_TRUE(WriteSucceeded(2));
}

class PageWriting : public CommandFixture {};

TEST_F(PageWriting, PasswordHighByteFirstAndNothingAfterAFailedHighByte) {
    UseTerminal("");
    Link().Connect(1, 19200);
    ClearCalls();
    EXPECT_TRUE(WriteTwoByteValue(Link(), 0, 17, 9999));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"WriteByte(17,39,0)=1", "WriteByte(18,15,0)=1"}));
    UseTerminal("fail=write:1");
    Link().Connect(1, 19200);
    ClearCalls();
    EXPECT_FALSE(WriteTwoByteValue(Link(), 0, 17, 300));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"WriteByte(17,1,0)=-1"}));
}

TEST_F(PageWriting, FunctionKeyRecordIsLengthThenData) {
    UseTerminal("");
    Link().Connect(1, 19200);
    ClearCalls();
    EXPECT_TRUE(WriteFunctionKeyRecord(Link(), 10, "AB\r"));
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{"WriteByte(164,3,1)=1", "WriteText(165,1,\"AB\\r\")=1"}));
    EXPECT_EQ(Page(1)[164], 3);
    EXPECT_EQ(Page(1)[167], 13);
}

}  // namespace
}  // namespace vk930::test
