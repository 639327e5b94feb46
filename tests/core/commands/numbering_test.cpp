// The next-ID button through the registry (the path of `commid --next` and of a series), what a
// failed ID write is recorded as, and a Set that never changes the CommID: in process, where a
// fault falls on exactly one byte.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/registry/local_registry.h"
#include "core/settings/id_counter.h"
#include "support/command_fixture.h"
#include "support/memory_journal.h"

namespace vk930::test {
namespace {

class Numbering : public CommandFixture {
  protected:
    // A terminal carrying `oldId`, whose `failAt`-th WriteByte after that fails (0: none).
    void UseCarrying(int oldId, int failAt) {
        // The two writes that set the old ID count among the terminal's writes.
        UseTerminal(failAt ? "fail=write:" + std::to_string(failAt + 2) : "");
        CommandFixture::Terminal().WriteByte(0, 1, oldId >> 8);
        CommandFixture::Terminal().WriteByte(0, 2, oldId & 0xff);
        View().SetIdRegistry(&registry);
        host.log.clear();
        ClearCalls();
    }
    int Carried() { return Page(0)[1] * 256 + Page(0)[2]; }
    long At(const std::string& event) {
        return std::find(host.events.begin(), host.events.end(), event) - host.events.begin();
    }

    FreeLock lock;
    MemoryJournal journal;
    IdCounter counter{settings, lock, &journal};
    MemoryRecords log;
    LocalRegistry registry{counter, log, "memory"};
};

TEST_F(Numbering, TheNextIdButtonReservesAndJournalsBeforeAnyByteAndConfirmsByReadingBack) {
    UseCarrying(7, 0);
    settings.values["commID"] = 41;
    journal.events = &host.events;
    const Outcome outcome = View().OnNextCommId();
    ASSERT_TRUE(outcome.ok()) << outcome.detail;
    EXPECT_EQ(Carried(), 42);
    EXPECT_EQ(settings.values["commID"], 42);
    EXPECT_LT(At("journal 42 reserved"), At("link WriteByte(1,0,0)=1"));
    EXPECT_GT(At("journal 42 written"), At("link ResetDevice()"));
    EXPECT_EQ(journal.StateOf(42), "written");
    EXPECT_EQ(host.log.back(), (LogEntry{"Done", 1}));
    // The window's edit shows the ID read back, so the button offers the one after it.
    EXPECT_EQ(View().Form().Text(id::kNextCommIdButton), "43");
    // A counter set back (a typed ID) does not make the button hand 42 out again.
    settings.values["commID"] = 10;
    ASSERT_TRUE(View().OnNextCommId().ok());
    EXPECT_EQ(Carried(), 43);
}

// After the reset another terminal answers (here a fresh one, carrying 1): the ID is only
// possibly in the one that left, and the ID that answered is held as well.
TEST_F(Numbering, AnIdReadBackThatIsNeitherTheOldNorTheNewOneIsHeld) {
    UseTerminal("series=2&remove=0&plugin=0");
    CommandFixture::Terminal().WriteByte(0, 1, 0);
    CommandFixture::Terminal().WriteByte(0, 2, 7);
    View().SetIdRegistry(&registry);
    settings.values["commID"] = 41;
    const Outcome outcome = View().OnNextCommId();
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(journal.StateOf(42), "may-carry");
    EXPECT_EQ(journal.entries.back().possible, (std::vector<int>{1}));
    Result<int> next = counter.Peek();
    ASSERT_TRUE(next) << next.error();
    EXPECT_EQ(*next, 43);
}

// The write failed between the two bytes and the terminal still answers: what it carries is
// read back and recorded; neither value is handed out again.
TEST_F(Numbering, AFailedLowByteLeavesAMixedIdThatIsReadBackAndHeld) {
    UseCarrying(1, 2);
    settings.values["commID"] = 299;
    const Outcome outcome = View().OnNextCommId();
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(Carried(), 257) << "new high byte (1), old low byte (1)";
    EXPECT_EQ(outcome.detail,
              "ID 300: the write failed half way: the terminal carries 257, neither its old ID "
              "nor this one");
    EXPECT_EQ(journal.StateOf(300), "may-carry");
    EXPECT_EQ(journal.entries.back().possible, (std::vector<int>{257}));
    // The operation log says what the CommID write says, nothing more.
    EXPECT_EQ(host.LogTexts(), (std::vector<std::string>{"Open COM1", "Searching VK930 device..",
                                                         "Reading Info OK", "Cannot write ID!"}));
    EXPECT_EQ(ResetCount(), 0);
}

// Cut after the high byte, 300 over 1 would leave 257, which another terminal carries: the low
// byte goes first, and the half-written terminal carries 44, an ID nobody was given.
TEST_F(Numbering, TheByteOrderNeverLeavesAHalfWrittenIdThatWasHandedOut) {
    UseCarrying(1, 2);
    journal.entries.push_back({257, IdState::kReserved, "", {}, "", "bench:1"});
    journal.entries.push_back({257, IdState::kWritten, "", {}, "", ""});
    settings.values["commID"] = 299;
    EXPECT_FALSE(View().OnNextCommId().ok());
    EXPECT_EQ(Carried(), 44);
    const auto low = std::find(Calls().begin(), Calls().end(), "WriteByte(2,44,0)=1");
    const auto high = std::find(Calls().begin(), Calls().end(), "WriteByte(1,1,0)=-1");
    ASSERT_NE(high, Calls().end());
    EXPECT_LT(low, high) << "the low byte first";
    EXPECT_EQ(journal.StateOf(300), "may-carry");
    EXPECT_EQ(journal.entries.back().possible, (std::vector<int>{44}));
}

TEST_F(Numbering, AFailedHighByteLeavesTheOldIdAndTheReservedOneIsSkipped) {
    UseCarrying(1, 1);
    settings.values["commID"] = 299;
    const Outcome outcome = View().OnNextCommId();
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(Carried(), 1);
    EXPECT_EQ(journal.StateOf(300), "skipped");
    EXPECT_EQ(journal.entries.back().reason, "not written: the terminal still carries 1");
    EXPECT_EQ(*counter.Reserve(), 301) << "a skipped ID is never handed out again";
}

TEST_F(Numbering, NoTerminalTakesNoId) {
    UseTerminal("absent");
    View().SetIdRegistry(&registry);
    settings.values["commID"] = 299;
    EXPECT_FALSE(View().OnNextCommId().ok());
    EXPECT_TRUE(journal.entries.empty());
    EXPECT_EQ(settings.values["commID"], 299);
    EXPECT_EQ(host.log.back(), (LogEntry{"Cannot Read Info from COM1", 0}));
}

TEST_F(Numbering, AJournalThatCannotBeWrittenNumbersNothing) {
    UseCarrying(7, 0);
    settings.values["commID"] = 41;
    journal.writeProblem = "disk full";
    const Outcome outcome = View().OnNextCommId();
    EXPECT_EQ(outcome.outcomeClass, OutcomeClass::kRefused);
    EXPECT_EQ(Carried(), 7);
    EXPECT_EQ(host.log.back(),
              (LogEntry{"Cannot record the CommID: cannot record the reservation in the journal "
                        "of IDs: disk full",
                        0}));
}

// A raw file of terminal 111 set into terminal 222: every byte but the CommID's.
class CommIdHoldTest : public CommandFixture {
  protected:
    void SetRawFileOf111Into222() {
        UseTerminal("");
        Terminal().WriteByte(0, 1, 0);
        Terminal().WriteByte(0, 2, 222);
        const std::string path = dir_.File("golden.pcg");
        WriteFile(path, "SYSTEM:0,1,0\nSYSTEM:0,2,111\nSYSTEM:0,40,9\nEND\n");
        state.document.m_strFilePath = path;
        host.log.clear();
        outcome = View().OnSet();
    }
    const std::string kWarning =
        "CommID in the file (111) not written: the CommID changes only with the CommID command";
    Outcome outcome;
};

TEST_F(CommIdHoldTest, ASetKeepsTheTerminalsIdAndSaysSoOnce) {
    SetRawFileOf111Into222();
    ASSERT_TRUE(outcome.ok()) << outcome.detail;
    EXPECT_EQ(Page(0)[1], 0);
    EXPECT_EQ(Page(0)[2], 222);
    EXPECT_EQ(Page(0)[40], 9) << "the other bytes are written";
    const auto warnings = std::count(host.log.begin(), host.log.end(), LogEntry{kWarning, 0});
    EXPECT_EQ(warnings, 1);
    // The warning comes after the lines and before the function keys.
    const auto keys =
        std::find(host.log.begin(), host.log.end(), LogEntry{"Writing function keys..!", 2});
    ASSERT_NE(keys, host.log.end());
    EXPECT_EQ(*(keys - 1), (LogEntry{kWarning, 0}));
    EXPECT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1}));
}

TEST_F(CommIdHoldTest, ARestoreWithIdCarriesTheFilesIdOver) {
    state.commIdHold.allowChange = true;
    SetRawFileOf111Into222();
    ASSERT_TRUE(outcome.ok()) << outcome.detail;
    EXPECT_EQ(Page(0)[2], 111);
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), LogEntry{kWarning, 0}), 0);
}

TEST_F(CommIdHoldTest, AFilesOwnIdIsNoChangeAndNoWarning) {
    UseTerminal("");
    Terminal().WriteByte(0, 2, 111);
    const std::string path = dir_.File("own.pcg");
    WriteFile(path, "SYSTEM:0,1,0\nSYSTEM:0,2,111\nEND\n");
    state.document.m_strFilePath = path;
    host.log.clear();
    ASSERT_TRUE(View().OnSet().ok());
    EXPECT_EQ(Page(0)[2], 111);
    for (const LogEntry& e : host.log)
        EXPECT_EQ(e.text.find("CommID in the file"), std::string::npos);
}

}  // namespace
}  // namespace vk930::test
