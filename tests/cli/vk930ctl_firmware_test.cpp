#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "cli/progress_line.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

const std::string kFirmware = VK930_FIRMWARE_DATA_DIR "/hsbt15.a20";

// Runs vk930ctl with standard error on a pseudo-terminal; returns what appeared there.
std::string RunWithTerminalStderr(const std::vector<std::string>& args) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return "no pty";
    const std::string terminal = ptsname(master);
    const pid_t pid = fork();
    if (pid == 0) {
        const int slave = open(terminal.c_str(), O_RDWR | O_NOCTTY);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(slave, 2);
        std::vector<char*> argv{const_cast<char*>(VK930CTL_PATH)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(VK930CTL_PATH, argv.data());
        _exit(127);
    }
    std::string seen;
    char buffer[4096];
    for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;) seen.append(buffer, n);
    waitpid(pid, nullptr, 0);
    close(master);
    return seen;
}

class Vk930ctlFirmware : public ::testing::Test {
  protected:
    std::vector<std::string> Args(std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", dir.File("settings.ini")});
        return args;
    }
    ProgramRun Run(const std::vector<std::string>& args) {
        return RunProgram(VK930CTL_PATH, Args(args));
    }
    std::string Sim(const std::string& options = "") {
        return "sim:" + dir.File("t.bin") + (options.empty() ? "" : "?" + options);
    }
    TempDir dir;
};

TEST_F(Vk930ctlFirmware, Hsbt15UploadsAndInfoThenShowsVersion15) {
    const std::string trace = dir.File("t.log");
    ProgramRun run = Run({"--porcelain", "--link", Sim("trace=" + trace), "firmware", kFirmware});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "2\tUploading...\n1\tUPLOADING DONE\n2\tREMOVE BOOT CABLE FROM DEVICE\n"
              "2\tREMOVE BATTERIES AND PUT THEM BACK AGAIN\n=success\n");
    EXPECT_EQ(run.err, "") << "no progress bar when standard error is not a terminal";
    // The upload ends with Connect(0, 4800), as the program calls it.
    EXPECT_EQ(ReadFile(trace),
              "Connect(1,4800)=1\nUploadFirmware(\"" + kFirmware + "\")=10\nConnect(0,4800)=0\n");
    ProgramRun info = Run({"--porcelain", "--link", Sim(), "info"});
    EXPECT_NE(info.out.find("@1017\t1.5\n"), std::string::npos) << info.out;
}

// On a port that reaches nothing the upload still names a file it cannot read before it
// says that nothing answers.
TEST_F(Vk930ctlFirmware, WithNothingOnThePortAMissingFileIsNamedFirst) {
    ProgramRun run = Run({"--porcelain", "--link", "none", "firmware", dir.File("gone.a20")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "2\tUploading...\n0\tCan't open FW file\n=file\tthe firmware file\n")
        << run.err;
    run = Run({"--porcelain", "--link", "none", "firmware", kFirmware});
    EXPECT_EQ(run.out,
              "2\tUploading...\n0\tNo response from device: Waiting 00\n"
              "=no-terminal\tno boot loader answered\n")
        << run.err;
}

TEST_F(Vk930ctlFirmware, ANameIsTakenInTheWorkingDirectoryAndSoIsItsBootFile) {
    const std::string trace = dir.File("t.log");
    const std::vector<std::string> args =
        Args({"--porcelain", "--link", Sim("trace=" + trace), "firmware", "hsbt15.a20"});
    ProgramRun run = RunProgram(VK930CTL_PATH, args, VK930_FIRMWARE_DATA_DIR);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(ReadFile(trace).find("UploadFirmware(\"" + kFirmware + "\")=10"), std::string::npos);

    WriteFile(dir.File("hsbt15.a20"), ReadFile(kFirmware));
    WriteFile(dir.File("boot.a20"), ":00000001FF\n");  // no data: not a boot program
    run = RunProgram(VK930CTL_PATH, args, dir.Path().string());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "2\tUploading...\n0\tCan't open boot file\n=file\t" + dir.File("boot.a20") +
                           ": no data\n");
}

TEST_F(Vk930ctlFirmware, ABadFileExitsOneAndSaysWhyOnStandardError) {
    const std::string bad = dir.File("hsbt16.a20");
    WriteFile(bad, ":0100000044BC\n:00000001FF\n");
    ProgramRun run = Run({"--link", Sim(), "firmware", bad});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "[ .. ] Uploading...\n[FAIL] Can't open FW file\n");
    EXPECT_NE(run.err.find(bad + ": line 1: bad checksum BC, expected BB"), std::string::npos)
        << run.err;
    run = Run({"--link", Sim(), "firmware", dir.File("missing.a20")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Can't open FW file"), std::string::npos);
    ProgramRun info = Run({"--porcelain", "--link", Sim(), "info"});
    EXPECT_NE(info.out.find("@1017\t1.4\n"), std::string::npos) << "the version stays";
}

TEST_F(Vk930ctlFirmware, BootLoaderFaultsAndUsageErrors) {
    ProgramRun run = Run({"--porcelain", "--link", Sim("boot=noAA"), "firmware", kFirmware});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              "2\tUploading...\n0\tNo response from device: Waiting AA\n"
              "=no-terminal\tno boot loader answered\n");
    run = Run({"--porcelain", "--link", "none", "firmware", kFirmware});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              "2\tUploading...\n0\tNo response from device: Waiting 00\n"
              "=no-terminal\tno boot loader answered\n");
    EXPECT_EQ(Run({"--link", Sim(), "firmware"}).exitCode, 2);
    EXPECT_EQ(Run({"--link", Sim(), "firmware", kFirmware, kFirmware}).exitCode, 2);
}

TEST_F(Vk930ctlFirmware, OnATerminalTheProgressBarRunsToTheEndAndIsErased) {
    const std::string seen = RunWithTerminalStderr(Args({"--link", Sim(), "firmware", kFirmware}));
    EXPECT_NE(seen.find("\r[..............................]  0/6656 bytes"), std::string::npos)
        << seen;
    EXPECT_NE(seen.find("\r[##############################]  6656/6656 bytes  0:00 left"),
              std::string::npos);
    EXPECT_EQ(seen.substr(seen.size() - 4), "\r\x1b[K") << "erased before the log goes on";
}

TEST(ProgressLine, ShowsBytesAndEstimatesTheTimeLeft) {
    using std::chrono::milliseconds;
    EXPECT_EQ(ProgressLine(0, 6656, milliseconds(0)),
              "[..............................]  0/6656 bytes  -:-- left");
    EXPECT_EQ(ProgressLine(1000, 4000, milliseconds(5000)),
              "[#######.......................]  1000/4000 bytes  0:15 left");
    EXPECT_EQ(ProgressLine(100, 10000, milliseconds(1000)),
              "[..............................]  100/10000 bytes  1:39 left");
    EXPECT_EQ(ProgressLine(4000, 4000, milliseconds(9000)),
              "[##############################]  4000/4000 bytes  0:00 left");
    EXPECT_EQ(ProgressLine(0, 0, milliseconds(0)),
              "[##############################]  0/0 bytes  0:00 left");
    EXPECT_EQ(ProgressLine(10, 1000, milliseconds(0)).substr(32), "  10/1000 bytes  -:-- left")
        << "no rate yet";
}

}  // namespace
}  // namespace vk930::test
