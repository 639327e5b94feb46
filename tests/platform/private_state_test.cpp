// The state folder's files: private whatever the umask and tightened when an older version
// left them open, a record never glued to a torn line, no read of what is no regular file,
// and addresses shown without their password however malformed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <filesystem>

#include "core/proof/state_folder.h"
#include "platform/postgres_address.h"
#include "platform/private_files.h"
#include "platform/registry_outbox.h"
#include "platform/service_log_file.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 0777;
}

ServiceRecord Record(const std::string& command) {
    ServiceRecord record;
    record.time = std::chrono::system_clock::now();
    record.program = "vk930ctl";
    record.command = command;
    return record;
}

// Sets the umask for its life.
struct Umask {
    explicit Umask(mode_t mask) : old(::umask(mask)) {}
    ~Umask() { ::umask(old); }
    mode_t old;
};

TEST(PrivateState, FilesAndFoldersArePrivateWhateverTheUmaskAndOldOnesAreTightenedOnce) {
    TempDir dir;
    const std::string state = dir.File("state/VK930Config");
    {
        const Umask open(0);
        ServiceLogFile log(ServiceLogPath(state));
        ASSERT_TRUE(log.Append(Record("info")).ok());
        RegistryOutbox outbox(state + "/registry-outbox-1.jsonl");
        ASSERT_TRUE(outbox.Add("{}").ok());
        EXPECT_EQ(ModeOf(dir.File("state")), 0700u);
        EXPECT_EQ(ModeOf(state), 0700u);
        EXPECT_EQ(ModeOf(log.Path()), 0600u);
        EXPECT_EQ(ModeOf(outbox.Path()), 0600u);
        EXPECT_TRUE(TightenStateFolder(state).empty()) << "nothing was left open";
    }
    // What an older version left: everyone reads it.
    const std::string backups = BackupFolder(state);
    std::filesystem::create_directories(backups);
    WriteFile(backups + "/20261207-153151-COM1-id7.pcg", "SYSTEM:0,17,16\r\nEND\r\n");
    ::chmod(state.c_str(), 0755);
    ::chmod(backups.c_str(), 0755);
    ::chmod(ServiceLogPath(state).c_str(), 0644);
    ::chmod((backups + "/20261207-153151-COM1-id7.pcg").c_str(), 0644);
    const std::vector<std::string> tightened = TightenStateFolder(state);
    EXPECT_EQ(tightened.size(), 4u);
    EXPECT_EQ(TightenedNotice(tightened),
              "other users of this PC could read 4 files and folders of the state folder: made "
              "private (only your account reads them now)");
    EXPECT_EQ(ModeOf(state), 0700u);
    EXPECT_EQ(ModeOf(backups), 0700u);
    EXPECT_EQ(ModeOf(ServiceLogPath(state)), 0600u);
    EXPECT_EQ(ModeOf(backups + "/20261207-153151-COM1-id7.pcg"), 0600u);
    EXPECT_TRUE(TightenStateFolder(state).empty()) << "said once";
    EXPECT_EQ(TightenedNotice({}), "");
}

TEST(PrivateState, ARecordAfterATornLineStartsALineOfItsOwn) {
    TempDir dir;
    ServiceLogFile log(dir.File("service-log.jsonl"));
    ASSERT_TRUE(log.Append(Record("info")).ok());
    // A crash in mid-write: the last line has no line end.
    {
        std::FILE* file = std::fopen(log.Path().c_str(), "ab");
        std::fputs("{\"time\":\"2026-12-07T15:3", file);
        std::fclose(file);
    }
    ASSERT_TRUE(log.Append(Record("set")).ok());
    ASSERT_TRUE(log.Append(Record("get")).ok());
    const ServiceLogContents read = ReadServiceLog(log.Path());
    ASSERT_EQ(read.records.size(), 3u);
    EXPECT_EQ(read.records[1].value("command").toString(), "set");
    EXPECT_EQ(read.skipped, 1) << "the torn line alone";

    RegistryOutbox outbox(dir.File("outbox.jsonl"));
    ASSERT_TRUE(outbox.Add("{\"uuid\":\"a\"}").ok());
    {
        std::FILE* file = std::fopen(outbox.Path().c_str(), "ab");
        std::fputs("{\"uuid\":\"b", file);
        std::fclose(file);
    }
    ASSERT_TRUE(outbox.Add("{\"uuid\":\"c\"}").ok());
    std::vector<QByteArray> sent;
    ASSERT_TRUE(outbox
                    .SendWaiting([&sent](const std::vector<QByteArray>& lines) {
                        sent = lines;
                        return Result<RegistryOutbox::Refusals>(RegistryOutbox::Refusals{});
                    })
                    .ok());
    EXPECT_EQ(sent,
              (std::vector<QByteArray>{"{\"uuid\":\"a\"}", "{\"uuid\":\"b", "{\"uuid\":\"c\"}"}));
}

TEST(PrivateState, WhatIsNoRegularFileIsNeverRead) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    for (const std::string& path : {dir.File("pipe"), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        const ServiceLogContents read = ReadServiceLog(path);
        EXPECT_FALSE(read.missing);
        EXPECT_EQ(read.error, "'" + path + "': not a regular file");
        EXPECT_EQ(FileSha256(path), "");
        EXPECT_EQ(RegistryOutbox(path).Count(), 0);
    }
    EXPECT_TRUE(ReadServiceLog(dir.File("none.jsonl")).missing);
    WriteFile(dir.File("p.pcg"), "abc");  // the digest of FIPS 180-2's first example
    EXPECT_EQ(FileSha256(dir.File("p.pcg")),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(PrivateState, AddressesAreShownWithoutTheirPasswordHoweverMalformed) {
    struct Case {
        std::string text, shown;
    };
    const Case cases[] = {
        {"postgresql://shop:pw@h/db", "postgresql://shop:****@h/db"},
        {"postgresql:/shop:pw@h/db", "postgresql:/shop:****@h/db"},
        {"mysql://shop:p:w@h/db", "mysql://shop:****@h/db"},
        {" postgresql://shop:pw@h/db", " postgresql://shop:****@h/db"},
        {"shop:pw@h/db", "shop:****@h/db"},
        {"postgresql://shop:p@w@h/db", "postgresql://shop:****@h/db"},
        {"postgresql://shop:p?w@h/db", "postgresql://shop:****@h/db"},
        {"postgresql://shop:p/w@h/db", "postgresql://shop:****@h/db"},
        {"postgresql://shop@h/db?password=pw&port=5",
         "postgresql://shop@h/db?password=****&port=5"},
        {"postgresql://h/db?PassWord=pw", "postgresql://h/db?PassWord=****"},
        {"postgresql://shop@h:5432/db", "postgresql://shop@h:5432/db"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(MaskedAddress(c.text), c.shown) << c.text;
    for (const char* bad : {"mysql://shop:pw@h/db", "postgresql:/shop:pw@h/db",
                            " postgresql://shop:pw@h/db", "postgresql://shop:pw@h"}) {
        const Result<PostgresAddress> parsed = ParsePostgresAddress(bad);
        ASSERT_FALSE(parsed) << bad;
        EXPECT_EQ(parsed.error().find(":pw@"), std::string::npos) << parsed.error();
    }
}

}  // namespace
}  // namespace vk930::test
