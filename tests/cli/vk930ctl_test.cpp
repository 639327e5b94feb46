#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

class Vk930ctl : public ::testing::Test {
  protected:
    ProgramRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", dir.File("settings.ini")});
        return RunProgram(VK930CTL_PATH, args);
    }
    std::string Sim(const std::string& options = "") {
        return "sim:" + dir.File("t.bin") + (options.empty() ? "" : "?" + options);
    }
    TempDir dir;
};

TEST_F(Vk930ctl, InfoIdentifiesTheTerminalWithTheExactCallSequence) {
    const std::string trace = dir.File("t.log");
    ProgramRun run = Run({"--porcelain", "--link", Sim("trace=" + trace), "info"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "2\tOpen COM1\n2\tSearching VK930 device..\n2\tReading Info OK\n"
              "2\tReading eeprom Page:0...\n2\tReading info...\n1\tDone\n"
              "@1016\tKD04010003\n@1017\t1.4\n@1020\tSE923\n@1021\tNo RFID\n@1022\tGray\n"
              "@1023\tGray 120x64\n@1026\t1\n@1030\t2\n=success\n");
    EXPECT_EQ(ReadFile(trace),
              "Connect(1,19200)=1\nReadInfo()=1\nReadPage0(0,255)=1\nGetDeviceType()=6\n"
              "GetVersionText()=\"14\"\nGetCommIdText()=\"1\"\nGetByte(0,35)=1\nGetByte(0,36)=0\n"
              "GetByte(0,37)=3\nGetByte(0,38)=1\nConnect(1,0)=0\n");
}

TEST_F(Vk930ctl, CommIdIsWrittenAndSeenByTheNextInfo) {
    ProgramRun run = Run({"--porcelain", "--port", "3", "--link", Sim(), "commid", "300"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    const std::string state = ReadFile(dir.File("t.bin"));
    ASSERT_EQ(state.size(), 512u);
    EXPECT_EQ(state[1], 1);
    EXPECT_EQ(state[2], 44);
    EXPECT_NE(run.out.find("2\tcommID written successful. Resetting...\n"), std::string::npos);
    ProgramRun info = Run({"--porcelain", "--link", Sim(), "info"});
    EXPECT_NE(info.out.find("@1026\t300\n"), std::string::npos) << info.out;
}

TEST_F(Vk930ctl, NextIdStartsFromTheStoredOne) {
    WriteFile(dir.File("settings.ini"), "[General]\ncommID=41\n");
    ProgramRun run = Run({"--porcelain", "--link", Sim(), "commid", "--next"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(ReadFile(dir.File("t.bin"))[2], 42);
    EXPECT_NE(ReadFile(dir.File("settings.ini")).find("commID=42"), std::string::npos);
}

TEST_F(Vk930ctl, FailuresExitOneAndReadableOutputMarksKinds) {
    ProgramRun run = Run({"--link", Sim("absent"), "info"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("[FAIL] Cannot Read Info from COM1"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("[ .. ] Open COM1"), std::string::npos);
    run = Run({"--link", "none", "info"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Cannot open COM1"), std::string::npos);
}

TEST_F(Vk930ctl, UsageErrorsExitTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"--port", "9", "info"},
        {"--port", "x", "info"},
        {"--link", "sim?bogus", "info"},
        {"--link", "sim", "commid"},
        {"--link", "sim", "commid", "70000"},
        {"--link", "sim", "commid", "-1"},
        {"--link", "sim", "info", "extra"},
    };
    for (const auto& args : cases) {
        ProgramRun run = Run(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args) << run.out;
        EXPECT_FALSE(run.err.empty());
    }
}

TEST_F(Vk930ctl, BadStateFileIsAClearError) {
    WriteFile(dir.File("t.bin"), "too short");
    ProgramRun run = Run({"--link", Sim(), "info"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("exactly 512 bytes"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("Cannot open COM1"), std::string::npos);
}

TEST_F(Vk930ctl, PortsReachWhatTheSettingsConfigure) {
    WriteFile(dir.File("settings.ini"),
              "[General]\nComPort=2\nDevice2=" + Sim("version=21") + "\n");
    ProgramRun run = Run({"--porcelain", "info"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Open COM2"), std::string::npos);
    EXPECT_NE(run.out.find("@1017\t2.1"), std::string::npos);
}

TEST_F(Vk930ctl, HelpAndVersion) {
    ProgramRun help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("commid"), std::string::npos);
    for (const char* status : {"Exit status:", "  0    the command succeeded", "  2    usage error",
                               "  130  interrupted"})
        EXPECT_NE(help.out.find(status), std::string::npos) << status;
    ProgramRun version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.out.find("vk930ctl 1.4"), std::string::npos);
}

}  // namespace
}  // namespace vk930::test
