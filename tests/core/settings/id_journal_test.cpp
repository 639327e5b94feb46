// The journal of IDs with the counter: no ID is handed out twice, whatever the counter in the
// settings says, a start below it, or a program that died holding a reservation.
#include <gtest/gtest.h>

#include <mutex>

#include "core/settings/id_counter.h"
#include "support/memory_journal.h"
#include "support/memory_settings.h"

namespace vk930::test {
namespace {

// A lock that notes when it is taken and released among the journal's and the store's events.
class NotingLock : public StoreLock {
  public:
    explicit NotingLock(std::vector<std::string>& events) : events_(events) {}
    Status Acquire() override {
        events_.push_back("lock");
        return {};
    }
    void Release() override { events_.push_back("unlock"); }

  private:
    std::vector<std::string>& events_;
};

struct JournalCounter : ::testing::Test {
    std::vector<std::string> events;
    std::vector<std::string> notices;
    MemorySettings settings;
    NotingLock lock{events};
    MemoryJournal journal;
    IdCounter counter{settings, lock, &journal,
                      [this](const std::string& text) { notices.push_back(text); }};

    void Add(int id, IdState state, std::vector<int> possible = {}) {
        journal.entries.push_back({id, state, "", std::move(possible), "", "bench:1"});
    }
};

TEST(JournalFold, HeldIdsLastHandedOutAndStarts) {
    const JournalFacts facts = FoldJournal({{10001, IdState::kReserved, "", {}, "", ""},
                                            {10001, IdState::kWritten, "", {}, "", ""},
                                            {10002, IdState::kReserved, "", {}, "", ""},
                                            {10002, IdState::kMayCarry, "", {9985, 10}, "", ""},
                                            {300, IdState::kStart, "", {}, "", ""},
                                            {300, IdState::kReserved, "", {}, "", ""}});
    EXPECT_EQ(facts.held, (std::set<int>{10, 300, 9985, 10001, 10002}));
    EXPECT_EQ(facts.lastHandedOut, 300) << "a start counts on from where it was set";
    EXPECT_EQ(facts.latest.at(10002).state, IdState::kMayCarry);
    EXPECT_EQ(facts.HeldBetween(300, 10001), 3);
    EXPECT_EQ(facts.HeldBetween(10003, 20000), 0);
}

TEST(JournalFold, TheValuesAFailedWriteMayLeave) {
    // 300 over 1: the new high byte (1) with the old low byte (1) is 257.
    EXPECT_EQ(PossibleAfterFailedWrite(1, 300), (std::vector<int>{1, 300, 257}));
    EXPECT_EQ(PossibleAfterFailedWrite(10000, 10001), (std::vector<int>{10000, 10001}))
        << "same high byte: no third value";
    EXPECT_EQ(PossibleAfterFailedWrite(7, 7), (std::vector<int>{7}));
    EXPECT_EQ(PossibleAfterFailedWrite(1, 300, /*lowByteFirst=*/true),
              (std::vector<int>{1, 300, 44}));
    EXPECT_EQ(HalfWrittenId(0x1234, 0x5678, false), 0x5634);
    EXPECT_EQ(HalfWrittenId(0x1234, 0x5678, true), 0x1278);
    EXPECT_EQ(JoinIds({1, 300, 257}), "1, 300 or 257");
    EXPECT_EQ(JoinIds({5}), "5");
}

TEST_F(JournalCounter, TheReservationIsJournalledAndStoredUnderTheLockBeforeItIsGiven) {
    settings.values["commID"] = 300;
    settings.events = &events;
    journal.events = &events;
    Result<int> id = counter.Reserve("s1");
    ASSERT_TRUE(id.ok()) << id.error();
    EXPECT_EQ(*id, 301);
    EXPECT_EQ(events, (std::vector<std::string>{"lock", "journal 301 reserved",
                                                "settings commID=301", "unlock"}));
    EXPECT_EQ(journal.entries.back().seriesId, "s1");
    EXPECT_EQ(journal.entries.back().holder, "bench:1");
}

TEST_F(JournalCounter, ACounterSetBackIsSaidAndMovedUpAndJournalledIdsAreSkipped) {
    Add(10001, IdState::kReserved);
    Add(10001, IdState::kWritten);
    Add(10002, IdState::kReserved);
    Add(10003, IdState::kSkipped, {});
    settings.values["commID"] = 10000;  // `commid 10000` typed on another terminal
    Result<int> id = counter.Reserve();
    ASSERT_TRUE(id.ok()) << id.error();
    EXPECT_EQ(*id, 10004) << "10003 was handed out (and skipped) already";
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0],
              "\"commID\" in the settings (10000) is below the last ID handed out on this bench "
              "(10003): counting on from 10003");
    EXPECT_EQ(settings.values["commID"], 10004);

    // A deleted settings file is no different: the journal still holds what was handed out.
    settings.values.clear();
    notices.clear();
    EXPECT_EQ(*counter.Reserve(), 10005);
    // IDs a failed write may have left in a terminal are never handed out either.
    Add(10006, IdState::kMayCarry, {10007});
    EXPECT_EQ(*counter.Reserve(), 10008);
}

TEST_F(JournalCounter, AJournalThatCannotBeReadOrWrittenGivesNoIdAndStoresNothing) {
    settings.values["commID"] = 300;
    journal.writeProblem = "'/x/service-log.jsonl': Is a directory";
    Result<int> refused = counter.Reserve();
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(),
              "cannot record the reservation in the journal of IDs: '/x/service-log.jsonl': Is a "
              "directory");
    EXPECT_EQ(settings.values["commID"], 300);
    journal.writeProblem.clear();
    journal.readProblem = "permission denied";
    Result<int> unread = counter.Reserve();
    ASSERT_FALSE(unread.ok());
    EXPECT_EQ(unread.error(), "cannot read the journal of IDs: permission denied");
    EXPECT_EQ(settings.values["commID"], 300);
    EXPECT_TRUE(journal.entries.empty());
}

TEST_F(JournalCounter, AFreshBenchStartsAnywhereAndAStartBelowTheCounterIsRefusedTruly) {
    // Nothing stored: any start is allowed, 300 included.
    ASSERT_TRUE(counter.StartAt(300).ok());
    EXPECT_EQ(journal.entries.back().state, IdState::kStart);
    EXPECT_EQ(*counter.Reserve(), 300);
    EXPECT_EQ(*counter.Reserve(), 301);
    // Now "commID" is 301: a start at 200 is refused with what the journal shows.
    Status refused = counter.StartAt(200);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(),
              "IDs up to 301 were handed out on this bench; the journal holds 2 of IDs 200 to "
              "301: start from 302, use --next, or --force to start at 200 anyway (IDs the "
              "journal holds are still skipped)");
    // --force starts there, and still skips what the journal holds.
    ASSERT_TRUE(counter.StartAt(299, true).ok());
    EXPECT_EQ(*counter.Reserve(), 299);
    EXPECT_EQ(*counter.Reserve(), 302) << "300 and 301 are in terminals";
    EXPECT_TRUE(notices.empty()) << notices[0];
}

TEST_F(JournalCounter, AReservationWhoseProgramDiedMayBeCarried) {
    Add(500, IdState::kReserved);
    journal.entries.back().holder = "bench:4242";
    Add(501, IdState::kReserved);  // this program's own, still being written
    journal.gone.insert("bench:4242");
    settings.values["commID"] = 501;
    EXPECT_EQ(*counter.Reserve(), 502);
    EXPECT_EQ(journal.StateOf(500), "may-carry");
    EXPECT_EQ(journal.StateOf(501), "reserved");
    const JournalEntry& orphan = journal.entries[2];
    EXPECT_EQ(orphan.commId, 500);
    EXPECT_EQ(orphan.reason,
              "the program that reserved it (bench:4242) ended before recording what became of "
              "it");
    EXPECT_TRUE(orphan.possible.empty()) << "values named without the terminal's old ID";
}

// Killed in the middle of the write: the old ID kept with the reservation names what the
// terminal may carry (its old ID, or either half-written one), and none of them is handed out.
TEST_F(JournalCounter, AnEndedReservationWithItsOldIdHoldsEveryValueItsWriteMayLeave) {
    settings.values["commID"] = 300;
    journal.holder = "bench:4242";
    ASSERT_EQ(*counter.Reserve("s1", 1), 301);
    EXPECT_EQ(journal.entries.back().oldId, 1);
    journal.holder = "bench:1";
    journal.gone.insert("bench:4242");
    Result<int> next = counter.Reserve();
    ASSERT_TRUE(next.ok()) << next.error();
    const JournalEntry& orphan = journal.entries[1];
    EXPECT_EQ(orphan.commId, 301);
    EXPECT_EQ(orphan.state, IdState::kMayCarry);
    EXPECT_EQ(orphan.seriesId, "s1");
    // 301 (0x012d) over 1: 0x0101 after the high byte, 0x002d after the low one.
    EXPECT_EQ(orphan.possible, (std::vector<int>{1, 257, 45}));
    EXPECT_EQ(orphan.reason,
              "the program that reserved it (bench:4242) ended before recording what became of "
              "it: the terminal carries 301, 1, 257 or 45");
    EXPECT_EQ(*next, 302);
    ASSERT_TRUE(counter.StartAt(256, /*force=*/true).ok());
    EXPECT_EQ(*counter.Reserve(), 256);
    EXPECT_EQ(*counter.Reserve(), 258) << "257, which the ended write may have left, was given";
    EXPECT_EQ(PossibleAfterUnknownEnd(10000, 10001), (std::vector<int>{10000}))
        << "same high byte: the cut write leaves the old ID or the new one";
}

}  // namespace
}  // namespace vk930::test
