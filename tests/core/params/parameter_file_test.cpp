#include "core/params/parameter_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "support/memory_pages.h"

namespace vk930::test {
namespace {

// Collects the file's text; records each line in the page source's event list.
struct Collector {
    explicit Collector(MemoryPages& pages, int failAtLine = 0)
        : sink([this, &pages, failAtLine](const std::string& line) {
              pages.events.push_back("line " + line.substr(0, line.find_first_of(":\r")));
              if (++lines == failAtLine) return false;
              text += line;
              return true;
          }) {}
    std::string text;
    int lines = 0;
    LineSink sink;
};

TEST(KeyedForm, FactoryPagesGiveFortyLinesByteForByte) {
    MemoryPages pages;
    Collector out(pages);
    ASSERT_TRUE(WriteKeyedForm(pages, out.sink));
    EXPECT_EQ(out.text, kFactoryKeyedFile);
    EXPECT_EQ(out.lines, kKeyedFormLines);
}

TEST(KeyedForm, ReadsInTheTerminalsOrderAndWritesEachLineBeforeTheNextRead) {
    MemoryPages pages;
    Collector out(pages);
    ASSERT_TRUE(WriteKeyedForm(pages, out.sink));
    std::vector<std::string> expected = {
        "GetText(0,1,20)",   "line HEADING",      "GetByte(0,3)",      "line EXTRAID",
        "GetByte(0,8)",      "line LANGUAGE",     "GetByte(0,10)",     "line LEDONOFF",
        "GetByte(0,13)",     "line VOL_FREQ",     "GetByte(0,20)",     "line DOT_COMMA",
        "GetByte(0,22)",     "line WAIT_TIME",    "GetByte(0,17)",     "GetByte(0,18)",
        "line PASSWORD",     "GetByte(0,5)",      "line SLEEP",        "GetByte(0,16)",
        "line VOLUME",       "GetByte(0,73)",     "line MENULANG",     "GetByte(0,21)",
        "line RECMODE",      "GetByte(0,78)",     "line USEFORMLOCK",  "GetByte(0,99)",
        "line USECUSTOMTXT", "GetText(100,0,20)", "line FORMLOCKTXT1", "GetText(120,0,20)",
        "line FORMLOCKTXT2", "GetByte(0,23)",     "line BATTERY",      "GetByte(0,90)",
        "line WAKESCAN",     "GetByte(0,15)",     "line KEYSOUND"};
    // Factory records: length byte, the byte at base + length, then the text.
    const int lengths[10] = {4, 3, 3, 5, 4, 4, 3, 4, 4, 4};
    for (int n = 1; n <= 10; ++n) {
        const int base = 20 + 16 * (n - 1);
        const int last = base + lengths[n - 1];
        const int textLength = lengths[n - 1] - (n <= 2 ? 1 : 0);
        for (std::string e :
             {"GetByte(1," + std::to_string(base) + ")", "GetByte(1," + std::to_string(last) + ")",
              "GetText(" + std::to_string(base + 1) + ",1," + std::to_string(textLength) + ")",
              "line F" + std::to_string(n) + "TXT", "line F" + std::to_string(n) + "SEND"})
            expected.push_back(e);
    }
    expected.push_back("line END");
    EXPECT_EQ(pages.events, expected);
}

TEST(KeyedForm, ValuesAreWrittenAsReadWithoutSignOrCut) {
    std::array<PageBytes, 2> bytes = FactoryPages();
    bytes[0][17] = 0;
    bytes[0][18] = 0;
    bytes[0][3] = 255;
    std::memcpy(bytes[1].data(), "SHOP                ", 20);
    bytes[1][52] = 0;  // F3 holds no text
    MemoryPages pages(bytes);
    Collector out(pages);
    ASSERT_TRUE(WriteKeyedForm(pages, out.sink));
    EXPECT_NE(out.text.find("\r\nPASSWORD:0\r\n"), std::string::npos);
    EXPECT_NE(out.text.find("\r\nEXTRAID:255\r\n"), std::string::npos);
    EXPECT_NE(out.text.find("HEADING:SHOP                \r\n"), std::string::npos);
    EXPECT_NE(out.text.find("\r\nF3TXT:\r\nF3SEND:0\r\n"), std::string::npos);
}

TEST(KeyedForm, ALineEndReadFromThePagesCannotStartALineOfItsOwn) {
    std::array<PageBytes, 2> bytes = FactoryPages();
    std::memcpy(bytes[1].data(), "A\nPASSWORD:0\n       ", 20);
    std::memcpy(bytes[0].data() + 100, "B\rSYSTEM:0,1,9\r\n    ", 20);
    bytes[1][36] = 4;  // F2: "X", CR, "Y", CR: a send flag and a CR inside the text
    std::memcpy(bytes[1].data() + 37, "X\rY\r", 4);
    MemoryPages pages(bytes);
    Collector out(pages);
    ASSERT_TRUE(WriteKeyedForm(pages, out.sink));
    EXPECT_EQ(out.text.substr(0, 30), "HEADING:A PASSWORD:0        \r\n");
    EXPECT_NE(out.text.find("\r\nFORMLOCKTXT1:B SYSTEM:0,1,9      \r\n"), std::string::npos);
    EXPECT_NE(out.text.find("\r\nF2TXT:X Y\r\nF2SEND:1\r\n"), std::string::npos);
    EXPECT_EQ(ParameterLine("FORMLOCKTXT1", "A:B\rC"), "FORMLOCKTXT1:A:B C\r\n");
    EXPECT_EQ(out.lines, kKeyedFormLines);
}

TEST(KeyedForm, StopsReadingWhenALineCannotBeWritten) {
    MemoryPages pages;
    Collector out(pages, 3);
    EXPECT_FALSE(WriteKeyedForm(pages, out.sink));
    EXPECT_EQ(pages.events.back(), "line LANGUAGE");
    EXPECT_EQ(pages.events.size(), 6u);
}

TEST(RawForm, EveryByteOfBothPagesInOrderThenEnd) {
    std::array<PageBytes, 2> bytes = FactoryPages();
    bytes[0][5] = 12;
    MemoryPages pages(bytes);
    Collector out(pages);
    ASSERT_TRUE(WriteRawForm(pages, out.sink));
    std::string expected;
    for (int page = 0; page < 2; ++page)
        for (int offset = 0; offset < 256; ++offset)
            expected += "SYSTEM:" + std::to_string(page) + "," + std::to_string(offset) + "," +
                        std::to_string(bytes[page][offset]) + "\r\n";
    expected += "END\r\n";
    EXPECT_EQ(out.text, expected);
    EXPECT_EQ(out.lines, kRawFormLines);
    EXPECT_NE(out.text.find("\r\nSYSTEM:0,5,12\r\n"), std::string::npos);
    EXPECT_NE(out.text.find("\r\nSYSTEM:1,255,255\r\n"), std::string::npos);
    EXPECT_EQ(pages.events[0], "GetByte(0,0)");
    EXPECT_EQ(pages.events[1], "line SYSTEM");
    EXPECT_EQ(pages.events[2 * 256], "GetByte(1,0)");
}

TEST(LineParts, KeyBeforeTheFirstColonValueAfterIt) {
    struct Case {
        std::string line, key, value;
        bool colon;
    };
    const std::vector<Case> cases = {
        {"HEADING:Shop 3", "HEADING", "Shop 3", true},
        {"FORMLOCKTXT1:A:B", "FORMLOCKTXT1", "A:B", true},
        {"VOLUME : 3", "VOLUME ", " 3", true},
        {"HEADING:", "HEADING", "", true},
        {":x", "", "x", true},
        {"END", "END", "END", false},
        {"", "", "", false},
        {"  spaces kept  :  ", "  spaces kept  ", "  ", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetKey(c.line), c.key) << c.line;
        EXPECT_EQ(GetValue(c.line), c.value) << c.line;
        EXPECT_EQ(HasColon(c.line), c.colon) << c.line;
    }
}

TEST(LineReader, WholeLinesWithEitherLineEndAndALastLineWithoutOne) {
    const std::string longValue(5000, 'x');
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"CR LF", "A:1\r\nB:2\r\n", {"A:1", "B:2"}},
        {"LF", "A:1\nB:2\n", {"A:1", "B:2"}},
        {"mixed", "A:1\r\nB:2\n", {"A:1", "B:2"}},
        {"last line without line end", "A:1\r\nKEYSOUND:1", {"A:1", "KEYSOUND:1"}},
        {"empty text", "", {}},
        {"empty lines", "\r\n\n", {"", ""}},
        {"long line stays whole",
         "HEADING:" + longValue + "SLEEP:4\r\n",
         {"HEADING:" + longValue + "SLEEP:4"}},
        // Files whose lines end with CR only (old Mac editors) are read line by line, not as
        // one line whose CRs would land in the first key's value.
        {"CR only", "HEADING:X\rSLEEP:45\rEND\r", {"HEADING:X", "SLEEP:45", "END"}},
        {"a lone CR ends a line", "A\rB:1\n", {"A", "B:1"}},
        {"CR then CR LF", "F1TXT:AB\r\r\n", {"F1TXT:AB", ""}},
        {"a line is cut at its longest",
         "X:" + std::string(kMaxLineLength, 'y') + "\nB:2\n",
         {"X:" + std::string(kMaxLineLength - 2, 'y'), "B:2"}},
        {"zero byte", std::string("X:\0Y\n", 5), {std::string("X:\0Y", 4)}},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        LineReader reader(in);
        std::vector<std::string> lines;
        while (auto line = reader.Next()) lines.push_back(*line);
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

}  // namespace
}  // namespace vk930::test
