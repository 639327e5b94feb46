// vk930ctl get and set: the "Get", "&Get..." and "Set" buttons from the command line.
#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

class ParamsCli : public ::testing::Test {
  protected:
    ProgramRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", dir.File("settings.ini"), "--porcelain"});
        return RunProgram(VK930CTL_PATH, args);
    }
    std::string Sim(const std::string& state, const std::string& options = "") {
        return "sim:" + dir.File(state) + (options.empty() ? "" : "?" + options);
    }
    static int Lines(const std::string& text) {
        int n = 0;
        for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
            ++n;
        return n;
    }
    TempDir dir;
};

TEST_F(ParamsCli, GetWritesRawOrKeyedAndReportsTheFile) {
    const std::string raw = dir.File("raw.pcg");
    ProgramRun run = Run({"--port", "2", "--link", Sim("t.bin"), "get", raw});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(run.out,
              "1\tConnected to COM2...\n2\tReading Device type...\n2\tReading Info OK\n"
              "2\tDevice type: VK930 Hand Terminal\n2\tReading eeprom Page:0...\n"
              "2\tReading eeprom Page:1...\n2\tWriting HS parameters to file...\n"
              "1\tDONE Succesfully!\n@1025\t" +
                  raw + "\n=success\n");
    EXPECT_EQ(Lines(ReadFile(raw)), 513);

    run = Run({"--link", Sim("t.bin"), "get", "--keyed", dir.File("keyed.pcg")});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(Lines(ReadFile(dir.File("keyed.pcg"))), 40);
    EXPECT_EQ(ReadFile(dir.File("keyed.pcg")).substr(0, 30), "HEADING:VK930 HAND TERMINAL \r\n");
}

TEST_F(ParamsCli, GetFailuresExitOneAndKeepTheOldFile) {
    WriteFile(dir.File("old.pcg"), "OLD\r\n");
    ProgramRun run = Run({"--link", Sim("t.bin", "fail=page1"), "get", dir.File("old.pcg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("0\tConnection Failure\n"), std::string::npos) << run.out;
    EXPECT_EQ(ReadFile(dir.File("old.pcg")), "OLD\r\n");

    // The dialog's list offers COM1 to COM6 only.
    run = Run({"--port", "7", "--link", Sim("t.bin"), "get", dir.File("new.pcg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Can't open COM port: Select COM port!"), std::string::npos);
    EXPECT_NE(run.out.find("0\tCOM port failure\n"), std::string::npos);

    run = Run({"--link", Sim("t.bin"), "get", dir.File("no/such/folder.pcg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("0\tCannot open file\n"), std::string::npos);
}

TEST_F(ParamsCli, RawFileFromOneTerminalMakesAnotherIdenticalButForItsId) {
    // Terminal one gets its own values first; its CommID stays, though the raw lines name 4242.
    WriteFile(dir.File("tweak.pcg"),
              "SYSTEM:0,1,16\nSYSTEM:0,2,146\nSLEEP:60\nHEADING:FIRST TERMINAL\nF4TXT:NEW\nEND\n");
    const ProgramRun tweaked = Run({"--link", Sim("one.bin"), "set", dir.File("tweak.pcg")});
    ASSERT_EQ(tweaked.exitCode, 0);
    EXPECT_NE(tweaked.out.find("CommID in the file (4242) not written: the CommID changes only "
                               "with the CommID command"),
              std::string::npos)
        << tweaked.out;
    EXPECT_EQ(ReadFile(dir.File("one.bin")).substr(1, 2), std::string("\0\1", 2));
    ASSERT_EQ(Run({"--link", Sim("one.bin"), "get", dir.File("one.pcg")}).exitCode, 0);

    const std::string trace = dir.File("two.log");
    ProgramRun run = Run({"--link", Sim("two.bin", "trace=" + trace), "set", dir.File("one.pcg")});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(ReadFile(dir.File("two.bin")), ReadFile(dir.File("one.bin")));
    const std::string calls = ReadFile(trace);
    EXPECT_EQ(
        calls.rfind("Connect(1,19200)=1\nReadInfo()=1\nGetDeviceType()=6\nReadPage0(0,255)=1\n"
                    "ReadPage1(0,255)=1\nConnect(1,19200)=1\nReadInfo()=1\nGetDeviceType()=6\n"
                    "GetByte(0,0)=0\n",
                    0),
        0u);
    EXPECT_NE(calls.find("\nGetByte(0,1)=0\nGetByte(0,2)=1\nGetByte(0,3)="), std::string::npos)
        << calls;
    EXPECT_TRUE(calls.ends_with("\nResetDevice()\nConnect(1,0)=0\n"));
}

TEST_F(ParamsCli, SetWithoutFileCancelsAndClosesThePort) {
    const std::string trace = dir.File("t.log");
    ProgramRun run = Run({"--link", Sim("t.bin", "trace=" + trace), "set"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              "1\tConnected to COM1...\n2\tReading Device type...\n2\tReading Info OK\n"
              "2\tReading eeprom Page:0...\n2\tReading eeprom Page:1...\n"
              "=cancelled\tno parameter file was chosen\n");
    EXPECT_EQ(ReadFile(trace),
              "Connect(1,19200)=1\nReadInfo()=1\nGetDeviceType()=6\nReadPage0(0,255)=1\n"
              "ReadPage1(0,255)=1\nConnect(1,0)=0\n");
    EXPECT_NE(run.err.find("cancel"), std::string::npos);
}

TEST_F(ParamsCli, SetWarningsDoNotFailButAWriteFailureDoes) {
    WriteFile(dir.File("w.pcg"), "SLEEP:4\nEND\n");
    ProgramRun run = Run({"--link", Sim("t.bin"), "set", dir.File("w.pcg")});
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("0\tWarning! Sleep value range should be 5-99 sec.\n"),
              std::string::npos);
    EXPECT_EQ(ReadFile(dir.File("t.bin"))[5], 99);

    run = Run({"--link", Sim("t.bin", "fail=write:1"), "set", dir.File("w.pcg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("0\tCommunication failure!\n0\tOperation cancelled!\n"),
              std::string::npos);

    run = Run({"--link", Sim("t.bin"), "set", dir.File("missing.pcg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("0\tCannot open file for reading!\n"), std::string::npos);
    // The porcelain result names the class and keeps the reason the log does not give.
    EXPECT_TRUE(run.out.ends_with("\n=file\t'" + dir.File("missing.pcg") +
                                  "': No such file or directory\n"))
        << run.out;
}

TEST_F(ParamsCli, ReadableOutputMarksWarningsAsWarnings) {
    WriteFile(dir.File("w.pcg"), "SLEEP:4\nF1TXT:ABCDEFGHIJKLMNOPQRSTUVWXYZ\nEND\n");
    ProgramRun run = RunProgram(VK930CTL_PATH, {"--settings", dir.File("settings.ini"), "--link",
                                                Sim("t.bin"), "set", dir.File("w.pcg")});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("[WARN] Warning! Sleep value range should be 5-99 sec.\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("[WARN] Warning! F1 text too long"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("[FAIL]"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
    // The icon kind stays 0 where the porcelain output gives it.
    run = Run({"--link", Sim("t.bin"), "set", dir.File("w.pcg")});
    EXPECT_NE(run.out.find("0\tWarning! F1 text too long"), std::string::npos) << run.out;
    EXPECT_TRUE(run.out.ends_with("\n=success\n")) << run.out;
}

TEST_F(ParamsCli, GetNamesWhyItsFileFailed) {
    ProgramRun run = Run({"--link", Sim("t.bin"), "get", dir.File("no/such/folder.pcg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("\n0\tCannot open file\n"), std::string::npos) << run.out;
    EXPECT_TRUE(run.out.ends_with("\n=file\t'" + dir.File("no/such/folder.pcg") +
                                  "': No such file or directory\n"))
        << run.out;
    run = Run({"--link", Sim("t.bin"), "get", "a.pc"});
    EXPECT_TRUE(run.out.ends_with("\n=refused\tthe file name is shorter than 5 characters\n"))
        << run.out;
}

TEST_F(ParamsCli, UsageErrorsExitTwo) {
    const std::vector<std::vector<std::string>> cases = {{"get"},
                                                         {"get", "--keyed"},
                                                         {"get", "a.pcg", "b.pcg"},
                                                         {"get", "--raw", "a.pcg"},
                                                         {"set", "a.pcg", "b.pcg"},
                                                         {"set", "--force"}};
    for (auto args : cases) {
        args.insert(args.begin(), {"--link", "sim"});
        ProgramRun run = Run(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_FALSE(run.err.empty());
    }
}

}  // namespace
}  // namespace vk930::test
