// Get then Set, on random terminals: a keyed file changes nothing but the texts and function
// keys it carries, and a raw file changes nothing at all.
#include <gtest/gtest.h>

#include <random>

#include "core/params/parameter_table.h"
#include "support/command_fixture.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

constexpr int kCases = 300;

// Bytes a page text may hold, weighted towards those that mean something to the file's reader:
// line ends, colons, commas, digits and whole keys that would be applied if they began a line.
std::string RandomText(std::mt19937& random, size_t length) {
    static const std::vector<std::string> tokens = {
        "\r", "\n", "\r\n", ":", ",", "0", "1", "9", "SYSTEM:0,1,9", "EXTRAID:7", "END", " "};
    std::string text;
    while (text.size() < length) {
        if (random() % 2)
            text += static_cast<char>(random() % 256);
        else
            text += tokens[random() % tokens.size()];
    }
    text.resize(length);
    return text;
}

// Every byte random, then each number Set checks put back in its range (as a file Get writes
// must hold it), and the texts and function-key records filled with awkward bytes.
std::array<PageBytes, 2> RandomPages(std::mt19937& random) {
    std::array<PageBytes, 2> pages{};
    for (PageBytes& page : pages)
        for (auto& byte : page) byte = static_cast<std::uint8_t>(random() % 256);
    for (const ParameterRow& row : ParameterTable()) {
        if (!row.HasPlace()) continue;
        PageBytes& page = pages[static_cast<size_t>(row.page)];
        const auto at = static_cast<size_t>(row.offset);
        if (row.range) {
            const int span = row.range->max - row.range->min + 1;
            const int value = row.range->min + static_cast<int>(random() % span);
            if (row.encoding == Encoding::kTwoByte) {
                page[at] = static_cast<std::uint8_t>(value / 256);
                page[at + 1] = static_cast<std::uint8_t>(value % 256);
            } else {
                page[at] = static_cast<std::uint8_t>(value);
            }
        } else if (row.encoding == Encoding::kText || row.encoding == Encoding::kFunctionKeyText) {
            // A function key's length byte stays random: above 15 it reads as 15.
            const size_t skip = row.encoding == Encoding::kText ? 0 : 1;
            const std::string text = RandomText(random, static_cast<size_t>(row.width) - skip);
            std::copy(text.begin(), text.end(), page.begin() + at + skip);
        }
    }
    return pages;
}

// Page bytes that a keyed file carries as text: Set may rewrite them (a line end read from a
// text comes back as a space, a function key's text is cut to its record).
bool InTextOrFunctionKey(int page, int offset) {
    for (const ParameterRow& row : ParameterTable()) {
        const bool text =
            row.encoding == Encoding::kText || row.encoding == Encoding::kFunctionKeyText;
        if (text && row.page == page && offset >= row.offset && offset < row.offset + row.width)
            return true;
    }
    return false;
}

class RoundTripProperty : public CommandFixture {
  protected:
    void UseTerminalWith(const std::array<PageBytes, 2>& pages) {
        UseTerminal("");
        for (int page = 0; page < 2; ++page) {
            const PageBytes& bytes = pages[static_cast<size_t>(page)];
            ASSERT_TRUE(Terminal().WriteText(page, 0, std::string(bytes.begin(), bytes.end())));
            ASSERT_EQ(Page(page), bytes);
        }
    }
    void Get(bool raw) {
        host.getParamsAnswers.push_back({true, 0, Path()});
        if (raw)
            View().OnGet();
        else
            View().OnGetParameters();
        ASSERT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1}));
    }
    void Set() {
        host.log.clear();
        ClearCalls();
        View().OnSet();
        ASSERT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1})) << host.log.back().text;
    }
    std::string Path() const { return dir.File("p.pcg"); }
    TempDir dir;
};

TEST_F(RoundTripProperty, KeyedGetThenSetChangesOnlyTextsAndFunctionKeys) {
    std::mt19937 random(930);
    for (int round = 0; round < kCases; ++round) {
        SCOPED_TRACE("case " + std::to_string(round));
        const std::array<PageBytes, 2> before = RandomPages(random);
        UseTerminalWith(before);
        Get(false);
        Set();
        for (int page = 0; page < 2; ++page) {
            const PageBytes after = Page(page);
            for (int offset = 0; offset < kPageSize; ++offset) {
                if (InTextOrFunctionKey(page, offset)) continue;
                ASSERT_EQ(after[static_cast<size_t>(offset)],
                          before[static_cast<size_t>(page)][static_cast<size_t>(offset)])
                    << "page " << page << " offset " << offset << "\n"
                    << ReadFile(Path());
            }
        }
        for (const LogEntry& entry : host.log) ASSERT_NE(entry.kind, 0) << entry.text;
    }
}

TEST_F(RoundTripProperty, RawGetThenSetChangesNoByteAndFillsAFreshTerminalButItsId) {
    std::mt19937 random(931);
    for (int round = 0; round < kCases; ++round) {
        SCOPED_TRACE("case " + std::to_string(round));
        const std::array<PageBytes, 2> before = RandomPages(random);
        UseTerminalWith(before);
        Get(true);
        Set();
        EXPECT_EQ(Page(0), before[0]);
        EXPECT_EQ(Page(1), before[1]);
        for (const std::string& call : Calls())
            ASSERT_FALSE(call.starts_with("Write")) << call;  // every byte already held

        // A fresh terminal takes every byte but the CommID's: a Set never changes the ID.
        UseTerminal("");
        PageBytes expected = before[0];
        expected[1] = Page(0)[1];
        expected[2] = Page(0)[2];
        Set();
        ASSERT_EQ(Page(0), expected);
        ASSERT_EQ(Page(1), before[1]);
    }
}

}  // namespace
}  // namespace vk930::test
