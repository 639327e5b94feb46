// The safeguards around a Set on both links: the backup before the first write, the restore
// check, the verification after the reset, and the record the command leaves.
#include "core/proof/guarded_set.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/proof/backup.h"
#include "core/proof/state_folder.h"
#include "support/link_fixture.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kButtonCalls = {"Connect(1,19200)=1", "ReadInfo()=1",
                                               "GetDeviceType()=6", "ReadPage0(0,255)=1",
                                               "ReadPage1(0,255)=1"};

// Keeps the records the view makes, and what the channel was told.
struct MemoryLog : ServiceLogSink, ProofChannel {
    Status Append(const ServiceRecord& record) override {
        records.push_back(record);
        return {};
    }
    std::string Path() const override { return "memory"; }
    void BackupWritten(const std::string& path) override { backups.push_back(path); }
    void Refused(const std::string& text) override { refusals.push_back(text); }
    std::vector<ServiceRecord> records;
    std::vector<std::string> backups, refusals;
};

class GuardedSetTest : public BothLinksFixture {
  protected:
    void Prepare(const std::string& options, const std::string& file) {
        UseTerminal(options);
        WriteFile(dir.File("p.pcg"), file);
        state.document.m_strFilePath = dir.File("p.pcg");
        View().Proof().stateFolder = dir.File("state");
        View().SetRecorder({&memory, &memory, "test", "1", [](int) { return "sim"; }});
    }
    std::vector<std::string> Backups() {
        std::vector<std::string> names;
        for (const BackupEntry& b : ListBackups(BackupFolder(dir.File("state"))))
            names.push_back(b.path);
        return names;
    }
    TempDir dir;
    MemoryLog memory;
};

TEST_P(GuardedSetTest, BackupHoldsThePagesBeforeTheSetWithoutAnExtraLinkCall) {
    Prepare("", "HEADING:Shop 3\r\nSYSTEM:0,201,7\r\nEND\r\n");
    Terminal().WriteByte(0, 1, 1);  // CommID 256 + 44 = 300
    Terminal().WriteByte(0, 2, 44);
    const PageBytes before0 = Page(0), before1 = Page(1);
    View().OnSet();

    ASSERT_EQ(Backups().size(), 1u);
    const std::string backup = Backups()[0];
    EXPECT_EQ(memory.backups, std::vector<std::string>{backup});
    const std::optional<BackupName> name = ParseBackupName(fs::path(backup).filename().string());
    ASSERT_TRUE(name);
    EXPECT_EQ(name->port, 1);
    EXPECT_EQ(name->commId, 300);
    // The raw form of the pages as they were: 513 lines, CR LF, END last.
    const std::string text = ReadFile(backup);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 513);
    EXPECT_NE(text.find("SYSTEM:0,201," + std::to_string(before0[201]) + "\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("SYSTEM:1,0," + std::to_string(before1[0]) + "\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("SYSTEM:1,255," + std::to_string(before1[255]) + "\r\nEND\r\n"));
    EXPECT_EQ(Page(0)[201], 7);
    // The trace is the plain Set's: the pages the button fetched are the backup's.
    const std::vector<std::string> calls(Calls().begin(), Calls().begin() + 6);
    std::vector<std::string> expected = kButtonCalls;
    expected.push_back("Connect(1,19200)=1");
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1}));

    ASSERT_EQ(memory.records.size(), 1u);
    const ServiceRecord& record = memory.records[0];
    EXPECT_EQ(record.command, "set");
    EXPECT_EQ(record.backup, backup);
    EXPECT_EQ(record.file, dir.File("p.pcg"));
    EXPECT_EQ(record.outcome, OutcomeClass::kSuccess);
    EXPECT_EQ(record.identity.commIdBefore, 300);
    EXPECT_EQ(record.identity.deviceType, 6);
    EXPECT_EQ(record.entries.size(), host.log.size());
}

TEST_P(GuardedSetTest, TheRecordMasksThePasswordTheLogEchoesAndTheBackupIsPrivate) {
    Prepare("", "PASSWORD:4321\r\nPASSWORD\r\nHEADING:PASSWORD:4321\r\nEND\r\n");
    View().OnSet();
    ASSERT_EQ(memory.records.size(), 1u);
    std::vector<std::string> recorded, shown;
    for (const RecordedEntry& entry : memory.records[0].entries) recorded.push_back(entry.text);
    for (const LogEntry& entry : host.log) shown.push_back(entry.text);
    // The screen keeps the echo as read; the record keeps the key, not the value.
    EXPECT_NE(std::find(shown.begin(), shown.end(), "PASSWORD:4321"), shown.end());
    EXPECT_NE(std::find(recorded.begin(), recorded.end(), "PASSWORD:****"), recorded.end());
    EXPECT_NE(std::find(recorded.begin(), recorded.end(), "PASSWORD"), recorded.end());
    EXPECT_NE(std::find(recorded.begin(), recorded.end(), "HEADING:PASSWORD:4321"), recorded.end())
        << "only a PASSWORD line is masked";
    EXPECT_EQ(std::find(recorded.begin(), recorded.end(), "PASSWORD:4321"), recorded.end());
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_EQ(fs::status(Backups()[0]).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(BackupFolder(dir.File("state"))).permissions() & fs::perms::all,
              fs::perms::owner_all);
}

TEST_P(GuardedSetTest, UnwritableBackupStopsBeforeAnyWrite) {
    Prepare("", "SYSTEM:0,201,7\r\nEND\r\n");
    WriteFile(dir.File("state"), "a file where the folder should be");
    const PageBytes before = Page(0);
    View().OnSet();

    ASSERT_GE(host.log.size(), 2u);
    const LogEntry last = host.log.back();
    EXPECT_EQ(last.kind, 0);
    EXPECT_EQ(last.text.rfind("Cannot write the backup: ", 0), 0u) << last.text;
    EXPECT_EQ(host.log[host.log.size() - 2], (LogEntry{"Reading eeprom Page:1...", 2}));
    EXPECT_EQ(host.beeps, 1);
    std::vector<std::string> expected = kButtonCalls;
    expected.push_back("Connect(1,0)=0");
    EXPECT_EQ(Calls(), expected);
    EXPECT_EQ(Page(0), before);
    ASSERT_EQ(memory.records.size(), 1u);
    EXPECT_EQ(memory.records[0].outcome, OutcomeClass::kFile);
    EXPECT_FALSE(View().LastOutcome().ok());
}

TEST_P(GuardedSetTest, BackupBeforeSetZeroWritesNone) {
    Prepare("", "SYSTEM:0,201,7\r\nEND\r\n");
    settings.values["BackupBeforeSet"] = 0;
    View().OnInitialUpdate();
    View().Proof().stateFolder = dir.File("state");
    View().OnSet();
    EXPECT_TRUE(Backups().empty());
    EXPECT_EQ(Page(0)[201], 7);
    EXPECT_FALSE(settings.values.count("VerifyAfterSet")) << "an extra setting is never written";
}

TEST_P(GuardedSetTest, RestoreRefusesAnotherTerminalAndWritesNothing) {
    Prepare("", "SYSTEM:0,201,7\r\nEND\r\n");
    View().Proof().expectedCommId = 4242;
    const PageBytes before = Page(0);
    View().OnSet();
    EXPECT_EQ(Page(0), before);
    ASSERT_EQ(memory.refusals.size(), 1u);
    EXPECT_NE(memory.refusals[0].find("CommID 4242"), std::string::npos) << memory.refusals[0];
    EXPECT_TRUE(Backups().empty());
    EXPECT_EQ(View().LastOutcome().outcomeClass, OutcomeClass::kRefused);
    EXPECT_EQ(Calls().back(), "Connect(1,0)=0");

    View().Proof().expectedCommId = Page(0)[1] * 256 + Page(0)[2];
    View().OnSet();
    EXPECT_EQ(Page(0)[201], 7);
    EXPECT_TRUE(View().LastOutcome().ok());
}

TEST_P(GuardedSetTest, VerificationComparesEveryWrittenByte) {
    Prepare("", "HEADING:Shop 3\r\nSYSTEM:0,201,7\r\nF1TXT:AB\r\nEND\r\n");
    View().Proof().verifyAfterSet = true;
    View().OnSet();
    // 20 heading bytes, one raw byte, the key's length byte and its two characters.
    const std::vector<LogEntry> tail(host.log.end() - 3, host.log.end());
    EXPECT_EQ(tail, (std::vector<LogEntry>{
                        {"DONE Succesfully!", 1}, {"Verifying...", 2}, {"Verified: 24 bytes", 1}}));
    EXPECT_TRUE(View().LastOutcome().ok());
    EXPECT_EQ(Calls().back(), "Connect(1,0)=0");
}

TEST_P(GuardedSetTest, VerificationFindsAWriteTheTerminalLost) {
    // The second write is the raw byte 0,201.
    Prepare("fail=lose:2", "HEADING:Shop 3\r\nSYSTEM:0,201,7\r\nEND\r\n");
    const int old = Page(0)[201];
    View().Proof().verifyAfterSet = true;
    View().OnSet();
    EXPECT_EQ(host.log.back(), (LogEntry{"Verification failed: page 0 offset 201 is " +
                                             std::to_string(old) + ", not 7",
                                         0}));
    EXPECT_EQ(View().LastOutcome().outcomeClass, OutcomeClass::kCommunication);
    EXPECT_EQ(View().LastOutcome().detail, "verification failed: 1 of 21 bytes differ");
    ASSERT_EQ(memory.records.size(), 1u);
    EXPECT_EQ(memory.records[0].outcome, OutcomeClass::kCommunication);
}

TEST_P(GuardedSetTest, ManyMismatchesAreCountedAfterTen) {
    // The heading is one WriteText of 20 bytes: lost whole.
    Prepare("fail=lose:1", "HEADING:ABCDEFGHIJKLMNOPQRST\r\nEND\r\n");
    View().Proof().verifyAfterSet = true;
    View().OnSet();
    int failures = 0;
    for (const LogEntry& e : host.log)
        if (e.text.rfind("Verification failed: page 1 offset ", 0) == 0) ++failures;
    EXPECT_EQ(failures, 10);
    EXPECT_EQ(host.log.back(), (LogEntry{"Verification failed: 10 more bytes differ", 0}));
}

INSTANTIATE_TEST_SUITE_P(Links, GuardedSetTest, BothLinks(), LinkKindName);

TEST(BackupNames, RoundTripAndRefuseOtherNames) {
    const auto time = std::chrono::system_clock::now();
    const std::string name = BackupFileName(time, 3, 65535);
    const std::optional<BackupName> parsed = ParseBackupName(name);
    ASSERT_TRUE(parsed) << name;
    EXPECT_EQ(parsed->port, 3);
    EXPECT_EQ(parsed->commId, 65535);
    EXPECT_EQ(ParseBackupName(BackupFileName(time, 1, 7, 2))->commId, 7);
    for (const char* other : {"20261207-153151-COM1-id70000.pcg", "20261207-153151-COM1-id7.txt",
                              "x20261207-153151-COM1-id7.pcg", "20261207-153151-COM-id7.pcg"})
        EXPECT_FALSE(ParseBackupName(other)) << other;
}

TEST(BackupNames, SecondBackupInTheSameSecondKeepsTheFirst) {
    TempDir dir;
    struct CopySource : PageSource {
        Short GetByte(Short page, Short offset) override {
            return page == 0 && offset == 2 ? 9 : 0;
        }
        std::string GetText(Short, Short, Short) override { return {}; }
    } pages;
    const auto time = std::chrono::system_clock::now();
    const Result<std::string> first = WriteBackup(dir.File("b"), pages, 2, time);
    const Result<std::string> second = WriteBackup(dir.File("b"), pages, 2, time);
    ASSERT_TRUE(first.ok() && second.ok());
    EXPECT_NE(first.value(), second.value());
    EXPECT_EQ(ListBackups(dir.File("b")).size(), 2u);
    EXPECT_EQ(ListBackups(dir.File("b"))[0].name.commId, 9);
}

}  // namespace
}  // namespace vk930::test
