// A terminal's parameters saved with Get and programmed with Set into a second terminal in
// factory state come out the same.
#include <gtest/gtest.h>

#include <cstring>

#include "support/link_fixture.h"
#include "support/memory_pages.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

class RoundTrip : public BothLinksFixture {
  protected:
    void Get(bool raw, const std::string& path) {
        host.getParamsAnswers.push_back({true, 0, path});
        if (raw)
            View().OnGet();
        else
            View().OnGetParameters();
        ASSERT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1}));
    }
    void Set(const std::string& path) {
        state.document.m_strFilePath = path;
        View().OnSet();
        ASSERT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1}));
    }
    void Put(int page, int offset, const std::string& bytes) {
        ASSERT_TRUE(Terminal().WriteText(page, offset, bytes));
    }
    TempDir dir;
};

TEST_P(RoundTrip, RawFileReproducesEveryByteOfBothPages) {
    UseTerminal("");
    std::uint32_t seed = 12345;
    for (int page = 0; page < 2; ++page)
        for (int offset = 0; offset < 256; ++offset) {
            seed = seed * 1103515245u + 12345u;
            Terminal().WriteByte(page, offset, static_cast<int>((seed >> 16) & 0xFF));
        }
    const PageBytes first[2] = {Page(0), Page(1)};
    Get(true, dir.File("raw.pcg"));

    // Every byte but the CommID's: a Set never gives a terminal another one's ID.
    UseTerminal("");
    ASSERT_NE(Page(0), first[0]);
    PageBytes expected = first[0];
    expected[1] = Page(0)[1];
    expected[2] = Page(0)[2];
    Set(dir.File("raw.pcg"));
    EXPECT_EQ(Page(0), expected);
    EXPECT_EQ(Page(1), first[1]);
}

TEST_P(RoundTrip, KeyedFileReproducesEveryKeyedValue) {
    UseTerminal("");
    for (auto [offset, value] : std::vector<std::pair<int, int>>{{3, 77},
                                                                 {5, 45},
                                                                 {8, 2},
                                                                 {10, 0},
                                                                 {13, 200},
                                                                 {15, 0},
                                                                 {16, 6},
                                                                 {17, 39},
                                                                 {18, 15},
                                                                 {20, 1},
                                                                 {21, 1},
                                                                 {22, 20},
                                                                 {23, 0},
                                                                 {78, 1},
                                                                 {90, 0},
                                                                 {99, 1}})
        Terminal().WriteByte(0, offset, value);
    Put(0, 100, "CUSTOM LINE ONE: A  ");
    Put(0, 120, "LINE TWO            ");
    Put(1, 0, "ROUND TRIP HEADING  ");
    Put(1, 20, std::string("\x0F") + "ABCDEFGHIJKLMN\r");  // 14 characters and send
    Put(1, 36, std::string("\x0F") + "ABCDEFGHIJKLMNO");   // 15 characters
    Put(1, 52, std::string("\x02") + "X\r");
    Get(false, dir.File("first.pcg"));
    const std::string first = ReadFile(dir.File("first.pcg"));
    ASSERT_NE(first, kFactoryKeyedFile);

    UseTerminal("");
    Set(dir.File("first.pcg"));
    Get(false, dir.File("second.pcg"));
    EXPECT_EQ(ReadFile(dir.File("second.pcg")), first);
}

// A carriage return inside a text would end the line for Set, which would then apply the rest
// of the text as a line of its own: here a raw byte over the CommID's high byte.
TEST_P(RoundTrip, ALineEndInsideAHeadingNeverBecomesALineOfItsOwn) {
    UseTerminal("");
    Terminal().WriteByte(0, 1, 0x12);
    Put(1, 0, "AB\rSYSTEM:0,1,9     ");
    Put(0, 100, "X\nEXTRAID:7\r\nY      ");
    Get(false, dir.File("texts.pcg"));
    const std::string file = ReadFile(dir.File("texts.pcg"));
    EXPECT_EQ(file.substr(0, 30), "HEADING:AB SYSTEM:0,1,9     \r\n");
    EXPECT_NE(file.find("\r\nFORMLOCKTXT1:X EXTRAID:7  Y      \r\n"), std::string::npos);
    const PageBytes before = Page(0);

    Set(dir.File("texts.pcg"));
    EXPECT_EQ(Page(0)[1], 0x12);
    EXPECT_EQ(Page(0)[3], before[3]);
    const PageBytes heading = Page(1);
    EXPECT_EQ(std::string(heading.begin(), heading.begin() + 20), "AB SYSTEM:0,1,9     ");
    for (const LogEntry& entry : host.log) EXPECT_NE(entry.kind, 0) << entry.text;
}

INSTANTIATE_TEST_SUITE_P(Links, RoundTrip, BothLinks(), LinkKindName);

}  // namespace
}  // namespace vk930::test
