// The service log file: its JSON record, appends of several processes at once, and readers
// that skip what is no record.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <set>

#include "platform/service_log_file.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

ServiceRecord SampleRecord(int n, int entries) {
    ServiceRecord record;
    record.time = std::chrono::system_clock::now();
    record.program = "vk930ctl";
    record.version = "1.4.0";
    record.command = "set";
    record.comPort = 3;
    record.reach = "sim:/tmp/t.bin?fail=lose:2";
    record.identity.deviceType = 6;
    record.identity.commIdBefore = n;
    record.outcome = OutcomeClass::kCommunication;
    record.detail = "verification failed";
    record.warnings = 1;
    record.durationMs = 1234;
    for (int i = 0; i < entries; ++i)
        record.entries.push_back({"SYSTEM:0," + std::to_string(i % 256) + ",\"7\"\\", i % 3});
    return record;
}

// Every program of the bench writes the line the core makes; it is the form Qt's compact JSON
// gives the same object, so the lines of either front end read alike.
TEST(ServiceLog, TheCoreLineIsTheCompactJsonOfItsObject) {
    ServiceRecord record = SampleRecord(300, 3);
    record.file = "/p.pcg";
    record.sha256 = "00ff";
    record.backup = "/b/x.pcg";
    record.seriesId = "s";
    record.withId = true;
    record.reservedId = ReservedId{301, false, "pulled \x7f", true, {1, 257}};
    const char odd[] = "\b\f\n\r\t\x01\x1f \"/\\ caf\xc3\xa9 \xe2\x82\xac\0end";
    record.detail = std::string(odd, sizeof odd - 1);
    record.entries.push_back({std::string("Caf\xe9"), 1});  // no UTF-8
    const std::string line = RecordLineText(record);
    const QJsonDocument parsed = QJsonDocument::fromJson(QByteArray::fromStdString(line));
    ASSERT_TRUE(parsed.isObject()) << line;
    EXPECT_EQ(parsed.toJson(QJsonDocument::Compact).toStdString(), line);
    EXPECT_EQ(parsed.object()["detail"].toString().toStdString(), record.detail);
}

TEST(ServiceLog, RecordCarriesEveryFieldAsJson) {
    TempDir dir;
    WriteFile(dir.File("p.pcg"), "END\r\n");
    ServiceRecord record = SampleRecord(300, 2);
    record.file = dir.File("p.pcg");
    record.backup = "/b/x.pcg";
    record.entries.push_back({std::string("HEADING:Caf\xe9\x01", 13), 2});  // no UTF-8
    ServiceLogFile log(dir.File("state/VK930Config/service-log.jsonl"));
    ASSERT_TRUE(log.Append(record).ok());

    const ServiceLogContents read = ReadServiceLog(log.Path());
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.skipped, 0);
    const QJsonObject r = read.records[0];
    // 2026-12-07T15:31:51.123+01:00
    EXPECT_TRUE(QRegularExpression(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d$)")
                    .match(r["time"].toString())
                    .hasMatch())
        << r["time"].toString().toStdString();
    EXPECT_EQ(r["program"].toString(), "vk930ctl");
    EXPECT_EQ(r["command"].toString(), "set");
    EXPECT_EQ(r["port"].toInt(), 3);
    EXPECT_EQ(r["reach"].toString(), "sim:/tmp/t.bin?fail=lose:2");
    EXPECT_EQ(r["terminal"]["type"].toInt(), 6);
    EXPECT_EQ(r["terminal"]["commIdBefore"].toInt(), 300);
    EXPECT_FALSE(r["terminal"].toObject().contains("commIdAfter")) << "unknown stays absent";
    EXPECT_EQ(r["file"].toString().toStdString(), dir.File("p.pcg"));
    EXPECT_EQ(r["sha256"].toString().toStdString(), FileSha256(dir.File("p.pcg")));
    EXPECT_EQ(r["sha256"].toString().size(), 64);
    EXPECT_EQ(r["backup"].toString(), "/b/x.pcg");
    EXPECT_EQ(r["outcome"].toString(), "communication");
    EXPECT_EQ(r["warnings"].toInt(), 1);
    EXPECT_EQ(r["durationMs"].toInt(), 1234);
    const QJsonArray entries = r["entries"].toArray();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0]["text"].toString(), "SYSTEM:0,0,\"7\"\\");
    EXPECT_EQ(entries[1]["kind"].toInt(), 1);
    // Bytes that are no UTF-8 are kept one character each.
    EXPECT_EQ(entries[2]["text"].toString(), QString::fromLatin1("HEADING:Caf\xe9\x01"));
}

TEST(ServiceLog, ASeriesRecordSaysWhatBecameOfItsReservedId) {
    TempDir dir;
    ServiceLogFile log(dir.File("service-log.jsonl"));
    ServiceRecord written = SampleRecord(1, 0);
    written.seriesId = "s-1";
    written.reservedId = ReservedId{301, true, ""};
    ServiceRecord skipped = SampleRecord(2, 0);
    skipped.seriesId = "s-1";
    skipped.reservedId = ReservedId{302, false, "the terminal was pulled"};
    ASSERT_TRUE(log.Append(written).ok());
    ASSERT_TRUE(log.Append(skipped).ok());
    ASSERT_TRUE(log.Append(SampleRecord(3, 0)).ok());

    const ServiceLogContents read = ReadServiceLog(log.Path());
    ASSERT_EQ(read.records.size(), 3u);
    EXPECT_EQ(read.records[0]["series"].toString(), "s-1");
    EXPECT_EQ(read.records[0]["reservedId"]["commId"].toInt(), 301);
    EXPECT_EQ(read.records[0]["reservedId"]["state"].toString(), "written");
    EXPECT_FALSE(read.records[0]["reservedId"].toObject().contains("reason"));
    EXPECT_EQ(read.records[1]["reservedId"]["state"].toString(), "skipped");
    EXPECT_EQ(read.records[1]["reservedId"]["reason"].toString(), "the terminal was pulled");
    EXPECT_FALSE(read.records[2].contains("series")) << "outside a series neither is written";
    EXPECT_FALSE(read.records[2].contains("reservedId"));
}

TEST(ServiceLog, KnownDigestOfAFile) {
    TempDir dir;
    WriteFile(dir.File("abc"), "abc");
    EXPECT_EQ(FileSha256(dir.File("abc")),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(FileSha256(dir.File("missing")), "");
}

TEST(ServiceLog, ReadersSkipAndCountLinesThatAreNoRecord) {
    TempDir dir;
    ServiceLogFile log(dir.File("log.jsonl"));
    ASSERT_TRUE(log.Append(SampleRecord(1, 1)).ok());
    ASSERT_TRUE(log.AppendLine("{\"half\": ").ok());
    ASSERT_TRUE(log.AppendLine("[1,2]").ok());
    ASSERT_TRUE(log.Append(SampleRecord(2, 1)).ok());
    const ServiceLogContents read = ReadServiceLog(log.Path());
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.skipped, 2);
    EXPECT_EQ(read.records[1]["terminal"]["commIdBefore"].toInt(), 2);
    EXPECT_TRUE(ReadServiceLog(dir.File("none.jsonl")).missing);
}

TEST(ServiceLog, AFolderThatCannotBeMadeIsAReasonNotACrash) {
    TempDir dir;
    WriteFile(dir.File("file"), "x");
    ServiceLogFile log(dir.File("file/sub/log.jsonl"));
    const Status status = log.Append(SampleRecord(1, 1));
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.error().find("file/sub"), std::string::npos) << status.error();
}

// Records of several KiB (a raw Set echoes 513 lines) are far above the size the system
// writes in one piece to a pipe; in the file they must still never interleave.
TEST(ServiceLog, FourProcessesAppendingAtOnceLeaveEveryRecordWhole) {
    constexpr int kProcesses = 4;
    constexpr int kRecords = 1000;
    TempDir dir;
    const std::string path = dir.File("state/service-log.jsonl");
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(gate[1]);
            char go;
            (void)!read(gate[0], &go, 1);  // all start together when the gate closes
            ServiceLogFile log(path);
            int failures = 0;
            for (int i = 0; i < kRecords; ++i)
                if (!log.Append(SampleRecord(p * kRecords + i, 20 + (i % 7) * 60)).ok()) ++failures;
            _exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const ServiceLogContents read = ReadServiceLog(path);
    EXPECT_EQ(read.skipped, 0);
    ASSERT_EQ(read.records.size(), static_cast<size_t>(kProcesses * kRecords));
    std::set<int> seen;
    for (const QJsonObject& record : read.records)
        seen.insert(record["terminal"]["commIdBefore"].toInt());
    EXPECT_EQ(seen.size(), static_cast<size_t>(kProcesses * kRecords));
    const std::string text = ReadFile(path);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kProcesses * kRecords);
}

}  // namespace
}  // namespace vk930::test
