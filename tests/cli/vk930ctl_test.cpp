#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

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

TEST_F(Vk930ctl, CommIdWriteShowsBothClosesInTheTrace) {
    const std::string trace = dir.File("t.log");
    ProgramRun run = Run({"--link", Sim("trace=" + trace), "commid", "300"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    // The identification releases the port, then the command does.
    const std::string calls = ReadFile(trace);
    EXPECT_NE(calls.find("GetByte(0,38)=1\nConnect(1,0)=0\nConnect(1,0)=0\n"), std::string::npos)
        << calls;
}

// An ID beyond two bytes, typed or counted, would be cut to one that an earlier terminal
// carries: it is refused, with nothing written and nothing stored.
TEST_F(Vk930ctl, AnIdThatDoesNotFitIsRefused) {
    const std::string trace = dir.File("t.log");
    const struct {
        std::vector<std::string> command;
        std::string stored;  // the settings file's commID line before the run
        std::string refused;
    } cases[] = {
        {{"commid", "70000"}, "", "70000"},
        {{"commid", "-5"}, "", "-5"},
        {{"commid", "99999999"}, "", "99999999"},
        {{"commid", "--next"}, "commID=65535", "65536"},
        {{"commid", "--next"}, "commID=-5", "-4"},
        {{"commid", "--next"}, "commID=99999999", "100000000"},
    };
    const std::string stateHome =
        std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.back() + " " + c.stored);
        WriteFile(dir.File("settings.ini"), "[General]\n" + c.stored + "\n");
        // A bench of its own: the journal of another case's IDs would move "commID" up.
        setenv("XDG_STATE_HOME", dir.File("state " + c.command.back() + c.stored).c_str(), 1);
        std::remove(trace.c_str());
        std::remove(dir.File("t.bin").c_str());
        std::vector<std::string> args = {"--porcelain", "--link", Sim("trace=" + trace)};
        args.insert(args.end(), c.command.begin(), c.command.end());
        ProgramRun run = Run(args);
        EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
        if (c.command.back() == "--next") {
            // The reservation refuses it: nothing is written, after a look at the terminal.
            const std::string why = "CommID " + c.refused +
                                    " does not fit the terminal (0 to 65535): no ID is left to "
                                    "hand out";
            EXPECT_EQ(run.out, "0\tCannot record the CommID: " + why +
                                   "\n=refused\tthe CommID cannot be recorded: " + why + "\n");
            EXPECT_EQ(ReadFile(trace),
                      "Connect(1,19200)=1\nReadInfo()=1\nGetCommIdText()=\"1\"\nConnect(1,0)=0\n");
            EXPECT_NE(ReadFile(dir.File("settings.ini")).find(c.stored), std::string::npos);
            continue;
        }
        // The log, then the fields the command set (the typed ID).
        EXPECT_EQ(run.out.substr(0, run.out.find('@')),
                  "2\tOpen COM1\n2\tSearching VK930 device..\n2\tReading Info OK\n0\tCommID " +
                      c.refused + " does not fit the terminal (0 to 65535)\n");
        EXPECT_NE(run.out.find("\n=refused\tthe ID does not fit the terminal\n"), std::string::npos)
            << run.out;
        EXPECT_EQ(ReadFile(trace), "Connect(1,19200)=1\nReadInfo()=1\nConnect(1,0)=0\n");
        EXPECT_EQ(ReadFile(dir.File("t.bin")).substr(1, 2), std::string("\0\1", 2));
        EXPECT_EQ(ReadFile(dir.File("settings.ini")).find("commID=") == std::string::npos,
                  c.stored.empty());
        if (!c.stored.empty())
            EXPECT_NE(ReadFile(dir.File("settings.ini")).find(c.stored), std::string::npos);
    }
    setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
}

// A store that cannot keep the counter would give every terminal the same ID.
TEST_F(Vk930ctl, NextIdIsRefusedWhenTheStoreCannotBeWritten) {
    std::string settings = dir.File("ro.ini");
    if (geteuid() == 0) {
        // Root writes any file whatever its mode: a file in place of the folder stops it.
        WriteFile(dir.File("file"), "");
        settings = dir.File("file/ro.ini");
    } else {
        WriteFile(settings, "[General]\ncommID=100\n");
        chmod(settings.c_str(), 0444);
    }
    const std::string trace = dir.File("t.log");
    ProgramRun run =
        RunProgram(VK930CTL_PATH, {"--settings", settings, "--porcelain", "--port", "1", "--link",
                                   Sim("trace=" + trace), "commid", "--next"});
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_EQ(run.out,
              "0\tCannot record the CommID: settings file '" + settings +
                  "' cannot be written\n=refused\tthe CommID cannot be recorded: settings file '" +
                  settings + "' cannot be written\n");
    EXPECT_EQ(ReadFile(trace), "") << "nothing reached the terminal";
    // Typed by hand, the ID is still written.
    run = RunProgram(VK930CTL_PATH, {"--settings", settings, "--porcelain", "--port", "1", "--link",
                                     Sim(), "commid", "300"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(ReadFile(dir.File("t.bin"))[2], 44);
}

TEST_F(Vk930ctl, AStoredPortBeyondSixteenBitsReachesNoPort) {
    // 65537 cut to 16 bits would be COM1.
    WriteFile(dir.File("settings.ini"), "[General]\nComPort=65537\nDevice1=" + Sim() + "\n");
    ProgramRun run = Run({"--porcelain", "info"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "0\tCannot open COM0\n=port-not-opened\tCOM0 did not open\n") << run.err;
}

TEST_F(Vk930ctl, ATraceFileThatCannotBeWrittenIsAnError) {
    const std::string trace = dir.File("no/such/folder/t.log");
    ProgramRun run = Run({"--porcelain", "--link", Sim("trace=" + trace), "info"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot write the trace file '" + trace + "'"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "0\tCannot open COM1\n=port-not-opened\tCOM1 did not open\n");
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
        {"--link", "sim", "commid", "abc"},
        {"--link", "sim", "commid", "12x"},
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
