// A file that is no regular file (a device that never ends, a pipe nobody writes, a folder)
// is refused before a byte of it is read, by every command that reads files: each run ends
// with its failure, the port released. ctest ends a run that hangs (TIMEOUT of this test).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <sstream>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

class NoHangCli : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
        ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    }
    ProgramRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", dir.File("s.ini"), "--porcelain", "--link",
                                   "sim:" + dir.File("t.bin")});
        return RunProgram(VK930CTL_PATH, args);
    }
    std::string LogPath() const { return dir.File("state/VK930Config/service-log.jsonl"); }
    TempDir dir;
};

TEST_F(NoHangCli, EveryCommandThatReadsAFileRefusesADeviceAPipeAndAFolder) {
    for (const std::string& file :
         {std::string("/dev/zero"), dir.File("pipe"), dir.Path().string()}) {
        for (const std::vector<std::string>& command :
             std::vector<std::vector<std::string>>{{"set", file},
                                                   {"restore", file, "--force"},
                                                   {"firmware", file},
                                                   {"diff", file},
                                                   {"diff", file, file}}) {
            SCOPED_TRACE(command[0] + " " + file);
            const ProgramRun run = Run(command);
            EXPECT_NE(run.exitCode, 0) << run.out << run.err;
            if (command[0] == "set") {
                EXPECT_NE(run.out.find("0\tNot a parameter file: not a regular file\n"),
                          std::string::npos)
                    << run.out;
                EXPECT_TRUE(run.out.ends_with("=file\t'" + file + "': not a regular file\n"))
                    << run.out;
            }
        }
    }
    // The records name the files, with no digest of what was never read.
    std::istringstream lines(ReadFile(LogPath()));
    int sets = 0;
    for (std::string line; std::getline(lines, line);) {
        const QJsonObject record =
            QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        if (record.value("command").toString() != "set") continue;
        ++sets;
        EXPECT_TRUE(record.contains("file")) << line;
        EXPECT_FALSE(record.contains("sha256")) << line;
    }
    EXPECT_EQ(sets, 3);
}

TEST_F(NoHangCli, AServiceLogThatIsAPipeIsAReasonNotAWait) {
    std::filesystem::create_directories(dir.File("state/VK930Config"));
    ASSERT_EQ(::mkfifo(LogPath().c_str(), 0600), 0);
    ProgramRun run = Run({"history"});
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << run.err;
    run = Run({"info"});
    EXPECT_EQ(run.exitCode, 0) << "a record that cannot be written fails no command: " << run.err;
    EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vk930::test
