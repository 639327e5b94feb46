// vk930ctl's backups, restore, set --verify, history and the service log every command leaves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

namespace fs = std::filesystem;

int CountLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class ProofCli : public ::testing::Test {
  protected:
    void SetUp() override { setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1); }
    ProgramRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", dir.File("settings.ini"), "--porcelain"});
        return RunProgram(VK930CTL_PATH, args);
    }
    std::string Sim(const std::string& state, const std::string& options = "") {
        return "sim:" + dir.File(state) + (options.empty() ? "" : "?" + options);
    }
    std::string LogPath() const { return dir.File("state/VK930Config/service-log.jsonl"); }
    std::vector<std::string> Backups() {
        std::vector<std::string> paths;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir.File("state/VK930Config/backups"), ec))
            paths.push_back(e.path().string());
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::string Program(const std::string& text) {
        WriteFile(dir.File("p.pcg"), text);
        return dir.File("p.pcg");
    }
    TempDir dir;
};

TEST_F(ProofCli, SetBacksUpFirstAndRestoreProgramsTheBackupBack) {
    ASSERT_EQ(Run({"--link", Sim("t.bin"), "commid", "300"}).exitCode, 0);
    const std::string original = ReadFile(dir.File("t.bin"));
    ProgramRun run = Run(
        {"--link", Sim("t.bin"), "set", Program("HEADING:Changed\r\nSYSTEM:0,201,7\r\nEND\r\n")});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    ASSERT_EQ(Backups().size(), 1u);
    const std::string backup = Backups()[0];
    EXPECT_NE(backup.find("-COM1-id300.pcg"), std::string::npos) << backup;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(ReadFile(dir.File("t.bin")), original);

    run = Run({"backups"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(CountLines(run.out), 1);
    EXPECT_NE(run.out.find("  COM1  id 300  " + backup + "\n"), std::string::npos) << run.out;
    EXPECT_EQ(Run({"backups", "--id", "301"}).out, "");
    EXPECT_EQ(Run({"backups", "--id", "x"}).exitCode, 2);

    run = Run({"--link", Sim("t.bin"), "restore", backup});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(ReadFile(dir.File("t.bin")), original);
    EXPECT_EQ(Backups().size(), 2u) << "a restore is a Set: it backs up first too";
}

TEST_F(ProofCli, RestoreRefusesAnotherTerminalUnlessForced) {
    ASSERT_EQ(Run({"--link", Sim("a.bin"), "commid", "300"}).exitCode, 0);
    ASSERT_EQ(Run({"--link", Sim("b.bin"), "commid", "301"}).exitCode, 0);
    ASSERT_EQ(Run({"--link", Sim("a.bin"), "set", Program("HEADING:A\r\nEND\r\n")}).exitCode, 0);
    ASSERT_EQ(Backups().size(), 1u);
    const std::string backupOfA = Backups()[0];
    const std::string b = ReadFile(dir.File("b.bin"));

    ProgramRun run = Run({"--link", Sim("b.bin"), "restore", backupOfA});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("refused: the terminal's CommID is 301, the backup was taken of "
                           "CommID 300"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("--force"), std::string::npos);
    EXPECT_EQ(ReadFile(dir.File("b.bin")), b);

    WriteFile(dir.File("plain.pcg"), "HEADING:X\r\nEND\r\n");
    run = Run({"--link", Sim("b.bin"), "restore", dir.File("plain.pcg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("not named as a backup"), std::string::npos) << run.err;

    // --force takes A's page 0 but B keeps its own CommID; --with-id carries A's over too.
    run = Run({"--link", Sim("b.bin"), "restore", "--force", backupOfA});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    std::string expected = ReadFile(dir.File("a.bin")).substr(0, 256);
    expected.replace(1, 2, b.substr(1, 2));
    EXPECT_EQ(ReadFile(dir.File("b.bin")).substr(0, 256), expected)
        << "page 0 of A, B's CommID kept";
    run = Run({"--link", Sim("b.bin"), "restore", "--force", "--with-id", backupOfA});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(ReadFile(dir.File("b.bin")).substr(0, 256),
              ReadFile(dir.File("a.bin")).substr(0, 256))
        << "page 0 of A, its CommID included";
}

TEST_F(ProofCli, SetVerifyFailsOnALostWriteAndPassesOtherwise) {
    const std::string file = Program("HEADING:Shop\r\nSYSTEM:0,201,7\r\nEND\r\n");
    ProgramRun run = Run({"--link", Sim("t.bin"), "set", "--verify", file});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(
        run.out.ends_with("1\tDONE Succesfully!\n2\tVerifying...\n1\tVerified: 21 bytes\n"
                          "@1025\t" +
                          file + "\n=success\n"))
        << run.out;

    run = Run({"--link", Sim("u.bin", "fail=lose:2"), "set", "--verify", file});
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_NE(run.out.find("0\tVerification failed: page 0 offset 201 is 0, not 7\n"),
              std::string::npos)
        << run.out;

    // Without --verify the lost write goes unnoticed, as it would on the terminal.
    run = Run({"--link", Sim("v.bin", "fail=lose:2"), "set", file});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.find("Verif"), std::string::npos);
}

TEST_F(ProofCli, EveryCommandLeavesOneRecordAndHistoryShowsThem) {
    ASSERT_EQ(Run({"--link", Sim("t.bin"), "info"}).exitCode, 0);
    ASSERT_EQ(Run({"--link", Sim("t.bin"), "commid", "300"}).exitCode, 0);
    ASSERT_EQ(Run({"--link", Sim("t.bin"), "get", dir.File("g.pcg")}).exitCode, 0);
    ASSERT_EQ(Run({"--link", Sim("t.bin"), "set", Program("SLEEP:4\r\nEND\r\n")}).exitCode, 0);
    ASSERT_EQ(Run({"--link", "none", "info"}).exitCode, 1);
    ASSERT_EQ(Run({"ports"}).exitCode, 0);
    EXPECT_EQ(CountLines(ReadFile(LogPath())), 6);

    ProgramRun run = Run({"history"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(CountLines(run.out), 6) << run.out;
    EXPECT_NE(run.out.find("  commid  COM1  id 300  success"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  set  COM1  id 300"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  info  COM1  port-not-opened"), std::string::npos) << run.out;
    EXPECT_EQ(CountLines(ReadFile(LogPath())), 7) << "history is a command too";

    run = Run({"history", "--id", "300", "--csv"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("time,program,version,command,port,reach,file,sha256,backup,", 0), 0u)
        << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1 + 3) << run.out;
    EXPECT_NE(run.out.find(",set,1,"), std::string::npos);
    // outcome, detail, warnings: the Set warned once about SLEEP.
    EXPECT_NE(run.out.find(",set,1,"), std::string::npos);
    EXPECT_NE(run.out.find(",success,,1,"), std::string::npos) << run.out;

    EXPECT_EQ(CountLines(Run({"history", "--since", "2999-01-01"}).out), 0);
    EXPECT_EQ(Run({"history", "--since", "yesterday"}).exitCode, 2);

    // A damaged line is skipped, and said.
    std::ofstream(LogPath(), std::ios::app) << "{\"broken\":\n";
    run = Run({"history"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("1 lines of the service log are no record"), std::string::npos);
}

// The next-ID counter of a bench that shares a registry is on the server: the next ID is
// reserved there, and a server that cannot be reached numbers nothing (counting on in the
// settings file would hand out IDs another bench hands out too). A typed ID is still written.
TEST_F(ProofCli, NextIdIsRefusedWhenTheSharedRegistryCannotBeReached) {
    const std::string registry = "postgresql://tech@%2Fnonexistent-socket-folder/shop";
    WriteFile(dir.File("settings.ini"), "[General]\ncommID=500\n");
    const std::string terminal = Sim("t.bin");
    ProgramRun run = Run({"--registry", registry, "--link", terminal, "commid", "--next"});
    EXPECT_EQ(run.exitCode, 1);
    const std::string said1 = run.out + run.err;
    EXPECT_NE(said1.find("cannot reserve an ID: the registry " + registry), std::string::npos)
        << said1;
    EXPECT_NE(said1.find("no ID was reserved"), std::string::npos) << said1;
    EXPECT_EQ(run.out.find("commID written"), std::string::npos) << run.out;
    EXPECT_NE(ReadFile(dir.File("settings.ini")).find("commID=500"), std::string::npos);

    WriteFile(dir.File("settings.ini"), "[General]\ncommID=500\nRegistry=" + registry + "\n");
    // The readable output says the refusal once, not again as the command's outcome.
    run = RunProgram(VK930CTL_PATH, {"--settings", dir.File("settings.ini"), "--link", terminal,
                                     "commid", "--next"});
    EXPECT_EQ(run.exitCode, 1);
    const size_t said =
        run.err.find("refused: the CommID cannot be recorded: cannot reserve an ID");
    ASSERT_NE(said, std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("refused:", said + 1), std::string::npos) << run.err;

    run = Run({"--link", terminal, "commid", "777"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    run = Run({"--link", terminal, "info"});
    EXPECT_NE(run.out.find("777"), std::string::npos) << run.out;
}

TEST_F(ProofCli, AServiceLogThatCannotBeWrittenIsSaidOnceAndStopsNothing) {
    WriteFile(dir.File("state"), "a file, not a folder");
    ProgramRun run = Run({"--link", Sim("t.bin"), "info"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(CountLines(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("cannot write the service log"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vk930::test
