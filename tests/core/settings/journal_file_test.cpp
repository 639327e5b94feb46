// The journal of IDs in a file of JSON lines (the Win32 window's): its lines read back as they
// were written, the service log's own lines read too, cut and foreign lines left out, and a
// counter over it that keeps its IDs across a restart.
#include "core/registry/journal_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>

#include "core/registry/journal_line.h"
#include "core/settings/id_counter.h"
#include "support/memory_journal.h"
#include "support/memory_settings.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

bool Same(const JournalEntry& a, const JournalEntry& b) {
    return a.commId == b.commId && a.state == b.state && a.reason == b.reason &&
           a.possible == b.possible && a.seriesId == b.seriesId && a.holder == b.holder &&
           a.oldId == b.oldId;
}

TEST(JournalLine, AnEntryReadsBackAsItWasWritten) {
    const JournalEntry entries[] = {
        {301, IdState::kReserved, "", {}, "s1", "bench:4242", 1},
        {301,
         IdState::kMayCarry,
         "the write failed \"half\" way\n\ttab \\ é",
         {1, 257},
         "",
         "",
         std::nullopt},
        {0, IdState::kStart, "", {}, "", "", std::nullopt},
        {65535, IdState::kSkipped, std::string("nul \0 inside", 12), {}, "", "", 0},
    };
    const auto time =
        std::chrono::system_clock::time_point(std::chrono::milliseconds(1765298003007));
    for (const JournalEntry& entry : entries) {
        const std::string line = JournalLineText(entry, time);
        SCOPED_TRACE(line);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(line.rfind("{\"time\":\"2025-12-09T16:33:23.007+00:00\",\"journal\":{", 0), 0u);
        const std::optional<JournalEntry> read = ParseJournalLine(line);
        ASSERT_TRUE(read.has_value());
        EXPECT_TRUE(Same(*read, entry));
    }
}

TEST(JournalLine, TheServiceLogsLinesAreReadAndOthersLeftOut) {
    // As the Qt programs write it, spaces and escapes as a JSON writer may put them.
    const std::optional<JournalEntry> qt = ParseJournalLine(
        "{\"journal\": {\"commId\": 10002, \"possible\": [9985, 10], \"reason\": \"caf\\u00e9 \\/ "
        "x\", \"series\": \"s\", \"state\": \"may-carry\", \"holder\": \"pc:7\", \"extra\": "
        "{\"a\": [true, false, null, 1.5e3]}}, \"time\": \"2026-12-07T15:31:51.123+01:00\"}");
    ASSERT_TRUE(qt.has_value());
    EXPECT_TRUE(Same(*qt, {10002, IdState::kMayCarry, "café / x", {9985, 10}, "s", "pc:7", {}}));
    for (const char* line : {
             "",
             "{\"time\":\"x\",\"journ",                                   // cut by a crash
             "{\"time\":\"x\",\"command\":\"info\"}",                     // a record
             "{\"journal\":{\"commId\":-1,\"state\":\"reserved\"}}",      // no ID
             "{\"journal\":{\"commId\":1.5,\"state\":\"reserved\"}}",     // no integer
             "{\"journal\":{\"commId\":7,\"state\":\"eaten\"}}",          // no state
             "{\"journal\":{\"commId\":7,\"state\":\"reserved\"}} tail",  // more than one value
             "{\"journal\":{\"commId\":7,\"state\":\"reserved\\q\"}}",    // a bad escape
             "[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[",  // deeper than any line
         }) {
        EXPECT_FALSE(ParseJournalLine(line).has_value()) << line;
    }
}

class JournalFileTest : public ::testing::Test {
  protected:
    std::string Path() const { return dir.File("state/service-log.jsonl"); }
    JournalFile Journal(const std::string& holder = "pc:1") {
        return JournalFile(
            Path(), holder, [this](const std::string& h) { return gone.count(h) > 0; }, fileLock);
    }

    TempDir dir;
    std::set<std::string> gone;
    FreeLock fileLock;
};

TEST_F(JournalFileTest, EntriesAreAddedToTheFileAndACutLineSpoilsNone) {
    JournalFile journal = Journal();
    Result<std::vector<JournalEntry>> none = journal.Load();
    ASSERT_TRUE(none.ok()) << none.error();
    EXPECT_TRUE(none->empty()) << "a missing file is an empty journal";
    ASSERT_TRUE(journal.Add({301, IdState::kReserved, "", {}, "", "", 1}).ok());
    ASSERT_TRUE(journal.Add({301, IdState::kWritten, "", {}, "", "", std::nullopt}).ok());
    WriteFile(Path(), ReadFile(Path()) + "{\"time\":\"x\",\"journal\":{\"commId\":30");  // a crash
    ASSERT_TRUE(journal.Add({302, IdState::kReserved, "", {}, "", "", 301}).ok());
    Result<std::vector<JournalEntry>> read = Journal().Load();
    ASSERT_TRUE(read.ok()) << read.error();
    ASSERT_EQ(read->size(), 3u) << ReadFile(Path());
    EXPECT_EQ((*read)[0].holder, "pc:1") << "a reservation names its program";
    EXPECT_EQ((*read)[1].holder, "");
    EXPECT_EQ((*read)[2].commId, 302);
    EXPECT_EQ((*read)[2].oldId, 301);
#ifndef _WIN32
    EXPECT_EQ(std::filesystem::status(Path()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
#endif
    gone.insert("pc:9");
    EXPECT_TRUE(journal.HolderGone("pc:9"));
    EXPECT_FALSE(journal.HolderGone("pc:1"));
}

TEST_F(JournalFileTest, AJournalThatCannotBeWrittenSaysWhere) {
    std::filesystem::create_directories(Path());  // a folder where the file should be
    JournalFile journal = Journal();
    Status added = journal.Add({301, IdState::kReserved, "", {}, "", "", std::nullopt});
    ASSERT_FALSE(added.ok());
    EXPECT_NE(added.error().find(Path()), std::string::npos) << added.error();
    EXPECT_NE(journal.Where().find(Path()), std::string::npos);
}

// What the Win32 window's next-ID button counts with: after a restart (a new program over the
// same file) no ID is given twice, and one left open by a program that died is held with the
// values its cut write may have left.
TEST_F(JournalFileTest, ACounterOverTheFileKeepsItsIdsAcrossARestart) {
    MemorySettings settings;
    settings.values["commID"] = 300;
    FreeLock lock;
    {
        JournalFile first = Journal("pc:1");
        IdCounter counter(settings, lock, &first);
        ASSERT_EQ(*counter.Reserve("", 1), 301);  // killed before its fate was recorded
    }
    gone.insert("pc:1");
    settings.values["commID"] = 10;  // and the settings set back
    std::vector<std::string> notices;
    JournalFile second = Journal("pc:2");
    IdCounter counter(settings, lock, &second,
                      [&](const std::string& text) { notices.push_back(text); });
    Result<int> next = counter.Reserve();
    ASSERT_TRUE(next.ok()) << next.error();
    EXPECT_EQ(*next, 302);
    ASSERT_EQ(notices.size(), 1u);
    Result<JournalFacts> facts = counter.Facts();
    ASSERT_TRUE(facts.ok());
    EXPECT_EQ(facts->latest.at(301).state, IdState::kMayCarry);
    EXPECT_EQ(facts->held, (std::set<int>{1, 45, 257, 301, 302}));
}

}  // namespace
}  // namespace vk930::test
