// The bench's service log without a JSON library (the Win32 window's): a record's line and
// its reading back, times with their offsets, queries, and the file that keeps the journal of
// IDs and the records together, with a cut last line and two writers at once.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "core/base/json_value.h"
#include "core/base/sha256.h"
#include "core/proof/record_line.h"
#include "core/registry/journal_file.h"
#include "core/registry/journal_line.h"
#include "support/memory_journal.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::system_clock;

ServiceRecord Record(int commId, const std::string& detail = "verified") {
    ServiceRecord record;
    record.time = system_clock::time_point(milliseconds(1765298003007));
    record.program = "vk930config";
    record.version = "1.4.0";
    record.command = "set";
    record.comPort = 3;
    record.reach = "\\\\.\\COM3";
    record.identity.deviceType = 6;
    record.identity.version = "V2.10";
    record.identity.commIdBefore = commId;
    record.identity.commIdAfter = commId + 1;
    record.file = "C:\\Shop\\p.pcg";
    record.sha256 = "ab12";
    record.backup = "C:\\state\\backups\\x.pcg";
    record.outcome = OutcomeClass::kSuccess;
    record.detail = detail;
    record.warnings = 1;
    record.durationMs = 4321;
    record.entries = {{"SYSTEM:0,1,\"7\"", 0}, {"Set done", 2}};
    return record;
}

TEST(RecordLine, ARecordReadsBackAsTheHistoryShowsIt) {
    const std::string line = RecordLineText(Record(300));
    EXPECT_EQ(line.find('\n'), std::string::npos) << "one line";
    // Members in the order of their names, as every program of the bench writes them.
    const size_t backup = line.find("\"backup\""), command = line.find("\"command\""),
                 withTime = line.find("\"time\"");
    EXPECT_LT(backup, command);
    EXPECT_LT(command, withTime);

    const HistoryRecord read = HistoryRecordOf(line);
    EXPECT_EQ(read.time.substr(0, 4), "2025");
    EXPECT_EQ(IsoTimeMs(read.time), 1765298003007);
    EXPECT_EQ(read.program, "vk930config");
    EXPECT_EQ(read.command, "set");
    EXPECT_EQ(read.port, 3);
    EXPECT_EQ(read.reach, "\\\\.\\COM3");
    EXPECT_EQ(read.commIdBefore, 300);
    EXPECT_EQ(read.commIdAfter, 301);
    EXPECT_EQ(read.file, "C:\\Shop\\p.pcg");
    EXPECT_EQ(read.backup, "C:\\state\\backups\\x.pcg");
    EXPECT_EQ(read.outcome, "success");
    EXPECT_EQ(read.detail, "verified");
    EXPECT_EQ(read.warnings, 1);
    EXPECT_EQ(read.durationMs, 4321);
    EXPECT_EQ(read.warningTexts, (std::vector<std::string>{"SYSTEM:0,1,\"7\""}));

    const std::optional<JsonValue> json = ParseJson(line);
    ASSERT_TRUE(json.has_value());
    EXPECT_EQ(JsonString(json->Member("sha256")), "ab12");
    EXPECT_EQ(JsonInt(json->Member("terminal")->Member("type")), 6);
    EXPECT_EQ(json->Member("series"), nullptr) << "no series, no member";
}

TEST(RecordLine, TextsOfAnyBytesStayWholeAndTheSeriesIsKept) {
    const char odd[] = "tab\there \"q\" \\ nul\0 \x01 caf\xc3\xa9";
    ServiceRecord record = Record(7, std::string(odd, sizeof odd - 1));
    record.seriesId = "s-1";
    record.withId = true;
    record.reservedId = ReservedId{8, false, "pulled", true, {1, 257}};
    std::string line = RecordLineText(record);
    EXPECT_NE(line.find("tab\\there \\\"q\\\" \\\\ nul\\u0000 \\u0001 caf\xc3\xa9"),
              std::string::npos)
        << line;
    EXPECT_EQ(HistoryRecordOf(line).detail, record.detail);
    const std::optional<JsonValue> json = ParseJson(line);
    ASSERT_TRUE(json.has_value());
    EXPECT_EQ(JsonString(json->Member("series")), "s-1");
    const JsonValue* reserved = json->Member("reservedId");
    ASSERT_NE(reserved, nullptr);
    EXPECT_EQ(JsonString(reserved->Member("state")), "may-carry");
    EXPECT_EQ(reserved->Member("possible")->items.size(), 2u);

    // Bytes that are no UTF-8 are kept as the characters of their codes.
    record.detail = "Caf\xe9";
    line = RecordLineText(record);
    EXPECT_NE(line.find("Caf\xc3\xa9"), std::string::npos) << line;
    EXPECT_TRUE(ParseJson(line).has_value());
}

TEST(RecordLine, TimesCarryTheirOffset) {
    const auto time = system_clock::time_point(milliseconds(1765298003007));
    EXPECT_EQ(IsoTimeMs(LocalIsoTime(time)), 1765298003007) << LocalIsoTime(time);
    EXPECT_EQ(IsoTimeMs("2025-12-09T16:33:23.007+00:00"), 1765298003007);
    EXPECT_EQ(IsoTimeMs("2025-12-09T17:33:23.007+01:00"), 1765298003007);
    EXPECT_EQ(IsoTimeMs("2025-12-09T11:03:23.007-05:30"), 1765298003007);
    EXPECT_EQ(IsoTimeMs("2025-12-09T16:33:23Z"), 1765298003000);
    for (const char* bad : {"", "x", "2025-12-09T16:33:23", "2025-13-09T16:33:23Z",
                            "2025-12-09T16:33:23+0100", "2025-12-09T16:33:23Z tail"})
        EXPECT_FALSE(IsoTimeMs(bad).has_value()) << bad;
}

TEST(RecordLine, AQueryFindsRecordsByCommIdAndTime) {
    ServiceRecord later = Record(500);
    later.time += std::chrono::hours(48);
    const std::string log =
        RecordLineText(Record(300)) + "\n" + RecordLineText(later) + "\r\n" +
        JournalLineText({301, IdState::kWritten, "", {}, "", "", 300}, system_clock::now()) +
        "\n\n{\"time\":\"2025-12-09T16:3";
    FoundRecords all = FindRecordLines(log, {});
    EXPECT_EQ(all.json.size(), 2u) << "journal entries are no records";
    EXPECT_EQ(all.unreadable, 1);
    EXPECT_EQ(FindRecordLines(log, {301, std::nullopt}).json.size(), 1u) << "the ID after";
    EXPECT_EQ(FindRecordLines(log, {500, std::nullopt}).json.size(), 1u) << "the ID before";
    EXPECT_TRUE(FindRecordLines(log, {999, std::nullopt}).json.empty());
    const FoundRecords recent =
        FindRecordLines(log, {std::nullopt, Record(0).time + std::chrono::hours(1)});
    ASSERT_EQ(recent.json.size(), 1u);
    EXPECT_EQ(HistoryRecordOf(recent.json[0]).commIdBefore, 500);
}

// FIPS 180-4's examples: no block, one, and a length that needs a second padding block.
TEST(RecordLine, FilesAreNamedWithTheirSha256) {
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");

    TempDir dir;
    WriteFile(dir.File("p.pcg"), "abc");
    EXPECT_EQ(RecordedFileSha256(dir.File("p.pcg")), Sha256Hex("abc"));
    EXPECT_EQ(RecordedFileSha256(dir.File("none.pcg")), "");
    EXPECT_EQ(RecordedFileSha256(dir.Path().string()), "") << "a folder is no file";
    ServiceRecord record = Record(1);
    record.file = dir.File("p.pcg");
    record.sha256.clear();
    EXPECT_EQ(ParseJson(RecordLineText(record))->Member("sha256"), nullptr);
    EXPECT_EQ(JsonString(ParseJson(RecordLineText(record, RecordedFileSha256))->Member("sha256")),
              Sha256Hex("abc"));
    record.sha256 = "given";
    EXPECT_EQ(JsonString(ParseJson(RecordLineText(record, RecordedFileSha256))->Member("sha256")),
              "given");
}

// A lock of this process, as the named mutex is one of all programs.
class ThreadLock : public StoreLock {
  public:
    Status Acquire() override {
        mutex_.lock();
        return {};
    }
    void Release() override { mutex_.unlock(); }

  private:
    std::mutex mutex_;
};

class ServiceLogFileTest : public ::testing::Test {
  protected:
    std::string Path() const { return dir.File("state/service-log.jsonl"); }
    JournalFile Log(StoreLock& lock) { return JournalFile(Path(), "pc:1", HolderCheck(), lock); }

    TempDir dir;
    ThreadLock lock;
};

TEST_F(ServiceLogFileTest, RecordsAndTheJournalShareTheFileAndACutLineIsLeftOut) {
    JournalFile log = Log(lock);
    Result<FoundRecords> none = log.Find({});
    ASSERT_TRUE(none.ok()) << none.error();
    EXPECT_TRUE(none->json.empty()) << "a file not written yet holds no records";

    ASSERT_TRUE(log.Add({301, IdState::kReserved, "", {}, "s", "", 300}).ok());
    ASSERT_TRUE(log.Append(Record(300)).ok());
    ASSERT_TRUE(log.Add({301, IdState::kWritten, "", {}, "s", "", std::nullopt}).ok());
    WriteFile(Path(), ReadFile(Path()) + RecordLineText(Record(301)).substr(0, 40));  // a crash

    Result<std::vector<JournalEntry>> entries = log.Load();
    ASSERT_TRUE(entries.ok()) << entries.error();
    ASSERT_EQ(entries->size(), 2u) << "records are no journal entries";
    EXPECT_EQ((*entries)[0].holder, "pc:1");
    Result<FoundRecords> records = log.Find({});
    ASSERT_TRUE(records.ok()) << records.error();
    ASSERT_EQ(records->json.size(), 1u);
    EXPECT_EQ(records->unreadable, 1) << "the cut line";
    EXPECT_EQ(HistoryRecordOf(records->json[0]).commIdAfter, 301);

    // The next record starts a line of its own: the cut one spoils nothing after it.
    ASSERT_TRUE(log.Append(Record(302)).ok());
    records = log.Find({303, std::nullopt});
    ASSERT_TRUE(records.ok());
    EXPECT_EQ(records->json.size(), 1u) << ReadFile(Path());
    EXPECT_EQ(log.Load()->size(), 2u);
}

TEST_F(ServiceLogFileTest, AFileThatCannotBeWrittenOrReadSaysWhere) {
    std::filesystem::create_directories(Path());  // a folder where the file should be
    JournalFile log = Log(lock);
    const Status appended = log.Append(Record(1));
    ASSERT_FALSE(appended.ok());
    EXPECT_NE(appended.error().find(Path()), std::string::npos) << appended.error();
    const Result<FoundRecords> found = log.Find({});
    ASSERT_FALSE(found.ok());
    EXPECT_NE(found.error().find(Path()), std::string::npos) << found.error();
}

// Two writers (station threads, each with its file object) append long records and journal
// entries at once: every line stays whole.
TEST_F(ServiceLogFileTest, TwoWritersLeaveEveryLineWhole) {
    constexpr int kEach = 25;
    const std::string longText(9000, 'x');  // longer than a stream's buffer
    const auto writer = [&](int first) {
        JournalFile log = Log(lock);
        for (int i = 0; i < kEach; ++i) {
            EXPECT_TRUE(log.Append(Record(first + i, longText)).ok());
            EXPECT_TRUE(log.Add({first + i, IdState::kWritten, "", {}, "", "", std::nullopt}).ok());
        }
    };
    std::thread one(writer, 1000), two(writer, 2000);
    one.join();
    two.join();
    JournalFile log = Log(lock);
    Result<FoundRecords> records = log.Find({});
    ASSERT_TRUE(records.ok());
    EXPECT_EQ(records->unreadable, 0);
    ASSERT_EQ(records->json.size(), 2u * kEach);
    for (const std::string& json : records->json) EXPECT_EQ(HistoryRecordOf(json).detail, longText);
    EXPECT_EQ(log.Load()->size(), 2u * kEach);
}

}  // namespace
}  // namespace vk930::test
