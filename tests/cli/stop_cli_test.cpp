// vk930ctl stops cleanly: SIGINT and SIGTERM end a command after the step in progress, with the
// port released and no temporary file left; a second signal ends it at once; an output that
// cannot be written never stops a command.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>

#include "support/run_program.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

class StopCli : public ::testing::Test {
  protected:
    std::vector<std::string> Args(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--settings", dir.File("settings.ini"), "--porcelain"});
        return args;
    }
    std::string Device() const { return dir.File("vk0"); }
    // A paced simulator whose `dropAnswer`-th answer is lost once: that request takes a
    // time-out and a repeat, the time in which the test's signal arrives.
    std::unique_ptr<SimProcess> Serve(int dropAnswer) {
        auto sim = std::make_unique<SimProcess>(VK930SIM_PATH, Device(),
                                                "sim:" + dir.File("t.bin") +
                                                    "?drop=" + std::to_string(dropAnswer) +
                                                    "&trace=" + dir.File("sim.log"),
                                                true);
        EXPECT_TRUE(sim->Ready()) << sim->Errors();
        return sim;
    }
    std::vector<std::string> TemporaryFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            if (entry.path().extension() == ".tmp") names.push_back(entry.path().string());
        return names;
    }
    TempDir dir;
};

TEST_F(StopCli, GetStopsAfterThePageInProgressAndLeavesNoFile) {
    WriteFile(dir.File("old.pcg"), "OLD\r\n");
    auto sim = Serve(3);  // ReadPage0
    const ProgramRun run =
        RunProgramSignalled(VK930CTL_PATH, Args({"--link", Device(), "get", dir.File("old.pcg")}),
                            "2\tReading eeprom Page:0...\n", {SIGINT});
    EXPECT_EQ(run.exitCode, 130) << run.out << run.err;
    EXPECT_NE(run.out.find("2\tReading eeprom Page:0...\n0\tInterrupted: nothing was written\n"),
              std::string::npos)
        << run.out;
    EXPECT_TRUE(run.out.ends_with("\n=interrupted\tnothing was written\n")) << run.out;
    EXPECT_EQ(run.out.find("Reading eeprom Page:1"), std::string::npos) << run.out;
    EXPECT_EQ(ReadFile(dir.File("old.pcg")), "OLD\r\n");
    EXPECT_TRUE(TemporaryFiles().empty());
    // The page fetch in progress completed: the terminal carried it out.
    EXPECT_NE(ReadFile(dir.File("sim.log")).find("ReadPage0(0,255)=1"), std::string::npos);
}

TEST_F(StopCli, SetStopsBetweenLinesWithoutTheReset) {
    WriteFile(dir.File("p.pcg"), "SLEEP:20\r\nVOLUME:3\r\nEND\r\n");
    auto sim = Serve(7);  // the SLEEP write, after two identifications and two page fetches
    const ProgramRun run =
        RunProgramSignalled(VK930CTL_PATH, Args({"--link", Device(), "set", dir.File("p.pcg")}),
                            "2\tSLEEP:20\n", {SIGTERM});
    EXPECT_EQ(run.exitCode, 130) << run.out << run.err;
    EXPECT_NE(run.out.find("2\tSLEEP:20\n0\tInterrupted: the terminal is partly programmed\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("VOLUME"), std::string::npos) << run.out;
    sim->Stop();
    EXPECT_EQ(ReadFile(dir.File("t.bin"))[5], 20) << "the write in progress completed";
    EXPECT_EQ(ReadFile(dir.File("sim.log")).find("ResetDevice"), std::string::npos);
}

TEST_F(StopCli, ASecondSignalEndsAtOnceAndStillRemovesTheTemporaryFile) {
    auto sim = Serve(3);
    const ProgramRun run =
        RunProgramSignalled(VK930CTL_PATH, Args({"--link", Device(), "get", dir.File("new.pcg")}),
                            "2\tReading eeprom Page:0...\n", {SIGINT, SIGTERM});
    EXPECT_EQ(run.exitCode, 130) << run.out << run.err;
    EXPECT_TRUE(TemporaryFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.pcg")));
}

// In process, with the trace of the program's own calls.
TEST_F(StopCli, InfoAndCommIdReleaseThePortWhenStopped) {
    const std::string trace = dir.File("t.log");
    const std::string sim = "sim:" + dir.File("t.bin") + "?trace=" + trace;
    // The 300 ms wait before the device type ends early.
    ProgramRun run = RunProgramSignalled(VK930CTL_PATH, Args({"--link", sim, "info"}),
                                         "2\tReading eeprom Page:0...\n", {SIGINT});
    EXPECT_EQ(run.exitCode, 130) << run.out << run.err;
    EXPECT_NE(run.out.find("0\tInterrupted: nothing was written\n"), std::string::npos) << run.out;
    EXPECT_TRUE(ReadFile(trace).ends_with("ReadPage0(0,255)=1\nConnect(1,0)=0\n"))
        << ReadFile(trace);

    // The 4 s restart wait after the write ends early; the ID is recorded all the same.
    std::filesystem::remove(trace);
    run = RunProgramSignalled(VK930CTL_PATH, Args({"--link", sim, "commid", "300"}),
                              "2\tcommID written successful. Resetting...\n", {SIGINT});
    EXPECT_EQ(run.exitCode, 130) << run.out << run.err;
    EXPECT_NE(run.out.find("0\tInterrupted: the terminal is partly programmed\n"),
              std::string::npos)
        << run.out;
    const std::string calls = ReadFile(trace);
    EXPECT_NE(calls.find("ResetDevice()\nConnect(1,0)=0\n"), std::string::npos) << calls;
    EXPECT_EQ(calls.find("ReadPage0"), std::string::npos) << "no identification after the stop";
    EXPECT_NE(ReadFile(dir.File("settings.ini")).find("commID=300"), std::string::npos);
}

TEST_F(StopCli, AnOutputThatCannotBeWrittenFailsTheRunAfterTheCommand) {
    const std::string trace = dir.File("t.log");
    const std::string sim = "sim:" + dir.File("t.bin") + "?trace=" + trace;
    ProgramRun run =
        RunProgramLosingOutput(VK930CTL_PATH, Args({"--link", sim, "info"}), LostOutput::kFullDisk);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "vk930ctl: cannot write the output: No space left on device\n");
    EXPECT_TRUE(ReadFile(trace).ends_with("GetByte(0,38)=1\nConnect(1,0)=0\n")) << "ran to its end";

    run = RunProgramLosingOutput(VK930CTL_PATH, Args({"--link", sim, "info"}), LostOutput::kClosed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "vk930ctl: cannot write the output: Bad file descriptor\n");

    WriteFile(dir.File("p.pcg"), "SLEEP:20\r\nVOLUME:3\r\nEND\r\n");
    std::filesystem::remove(trace);
    run = RunProgramLosingOutput(VK930CTL_PATH, Args({"--link", sim, "set", dir.File("p.pcg")}),
                                 LostOutput::kBrokenPipe);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "vk930ctl: cannot write the output: Broken pipe\n");
    EXPECT_TRUE(ReadFile(trace).ends_with("ResetDevice()\nConnect(1,0)=0\n")) << ReadFile(trace);
    // A failed command keeps its own status.
    run = RunProgramLosingOutput(VK930CTL_PATH, Args({"--link", "none", "info"}),
                                 LostOutput::kFullDisk);
    EXPECT_EQ(run.exitCode, 1);
}

}  // namespace
}  // namespace vk930::test
