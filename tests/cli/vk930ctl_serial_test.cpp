#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <tuple>

#include "support/run_program.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

// vk930ctl over a serial device: vk930-sim on a pseudo-terminal in the test's folder.
class Vk930ctlSerial : public ::testing::Test {
  protected:
    ProgramRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", dir.File("settings.ini")});
        return RunProgram(VK930CTL_PATH, args);
    }
    std::string Device() const { return dir.File("vk0"); }
    std::unique_ptr<SimProcess> Serve(const std::string& options = "", bool pace = false) {
        auto sim = std::make_unique<SimProcess>(
            VK930SIM_PATH, Device(),
            "sim:" + dir.File("t.bin") + (options.empty() ? "" : "?" + options), pace);
        EXPECT_TRUE(sim->Ready()) << sim->Errors();
        return sim;
    }
    TempDir dir;
};

TEST_F(Vk930ctlSerial, InfoAndCommIdGiveWhatTheyGiveInProcess) {
    auto sim = Serve();
    ProgramRun serial = Run({"--porcelain", "--link", Device(), "info"});
    sim->Stop();
    ProgramRun inProcess = Run({"--porcelain", "--link", "sim:" + dir.File("t.bin"), "info"});
    EXPECT_EQ(serial.exitCode, 0) << serial.err;
    EXPECT_EQ(serial.out, inProcess.out);
    EXPECT_EQ(serial.err, "");

    sim = Serve();
    ProgramRun commId = Run({"--porcelain", "--port", "2", "--link", Device(), "commid", "300"});
    EXPECT_EQ(commId.exitCode, 0) << commId.out << commId.err;
    EXPECT_EQ(ReadFile(dir.File("t.bin"))[2], 44);
    // The simulator outlives its clients: a second command reaches the same terminal.
    ProgramRun again = Run({"--porcelain", "--link", Device(), "info"});
    EXPECT_NE(again.out.find("@1026\t300\n"), std::string::npos) << again.out;
}

TEST_F(Vk930ctlSerial, APacedSimulatorServesTheSame) {
    auto sim = Serve("", true);
    ProgramRun paced = Run({"--porcelain", "--link", Device(), "info"});
    EXPECT_EQ(paced.exitCode, 0) << paced.err;
    EXPECT_NE(paced.out.find("1\tDone\n@1016\tKD04010003\n"), std::string::npos) << paced.out;
}

// A series runs each station on its own thread, where the serial port still works as on the
// main thread and Qt has nothing to complain about: with --json, standard error stays empty.
TEST_F(Vk930ctlSerial, ASeriesOverASerialPortSaysNothingOnStandardErrorWithJson) {
    auto sim = Serve("series=1&remove=4500&plugin=200");
    ASSERT_EQ(Run({"ports", "--assign", "1", Device()}).exitCode, 0);
    ProgramRun run = Run({"--json", "series", "--next", "--count", "1"});
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("\"commId\":10001,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"result\":\"done\""), std::string::npos) << run.out;
}

TEST_F(Vk930ctlSerial, TheSimulatorRefusesBadArguments) {
    std::filesystem::create_directory(dir.File("folder"));
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"sim"}, 2, "--link PATH is needed"},
        {{"--link", Device()}, 2, "one SPEC is needed"},
        {{"--link", Device(), "/dev/ttyS0"}, 2, "SPEC must be a sim spec"},
        {{"--link", Device(), "sim?bogus"}, 2, "unknown option 'bogus'"},
        {{"--link", Device(), ""}, 2, "link spec is empty"},
        {{"--link", Device(), "sim", "sim"}, 2, "one SPEC is needed"},
        {{"--link", Device(), "sim?version=" + std::string(40, '1')}, 2, "at most 32 characters"},
        {{"--link", Device(), "sim?hangup=0"}, 2, "hangup=N"},
        {{"--pace=3", "--link", Device(), "sim"}, 2, "--pace"},
        {{"--link", "", "sim"}, 1, "cannot create link ''"},
        {{"--link", dir.File("no/folder/vk"), "sim"}, 1, "cannot create link"},
        {{"--link", Device(), "sim:" + dir.File("folder")}, 1, "cannot read state file"},
    };
    for (const auto& [args, exitCode, message] : cases) {
        const ProgramRun run = RunProgram(VK930SIM_PATH, args);
        EXPECT_EQ(run.exitCode, exitCode) << testing::PrintToString(args);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::is_symlink(Device()));
    }
    WriteFile(Device(), "taken");
    ProgramRun taken = RunProgram(VK930SIM_PATH, {"--link", Device(), "sim"});
    EXPECT_EQ(taken.exitCode, 1);
    EXPECT_EQ(taken.err, "vk930-sim: '" + Device() + "' already exists\n");
    EXPECT_EQ(ReadFile(Device()), "taken");  // nothing of the user's is replaced
}

TEST_F(Vk930ctlSerial, ALinkLeftByAKilledSimulatorIsReplaced) {
    auto killed = Serve();
    const std::filesystem::path deadDevice = std::filesystem::read_symlink(Device());
    EXPECT_EQ(killed->Kill(), 128 + SIGKILL);
    ASSERT_TRUE(std::filesystem::is_symlink(Device()));  // nothing could remove it
    ASSERT_FALSE(std::filesystem::exists(deadDevice));

    auto next = std::make_unique<SimProcess>(VK930SIM_PATH, Device(), "sim:" + dir.File("t.bin"));
    ASSERT_TRUE(next->WaitForErrors("vk930-sim: replaced the stale link '" + Device() +
                                    "' (it pointed to '" + deadDevice.string() +
                                    "', no live pseudo-terminal)\n"))
        << next->Errors();
    ProgramRun run = Run({"--porcelain", "--link", Device(), "info"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(next->Stop(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(Device()));

    // A link to something else that is no live pseudo-terminal: the link goes, its target
    // stays as it was.
    WriteFile(dir.File("notes.txt"), "mine");
    for (const std::string& target :
         {dir.File("notes.txt"), dir.File("gone"), std::string("rel")}) {
        std::filesystem::create_symlink(target, Device());
        auto sim = std::make_unique<SimProcess>(VK930SIM_PATH, Device(), "sim");
        EXPECT_TRUE(sim->WaitForErrors("it pointed to '" + target + "'")) << sim->Errors();
        EXPECT_EQ(sim->Stop(), 0);
    }
    EXPECT_EQ(ReadFile(dir.File("notes.txt")), "mine");
}

TEST_F(Vk930ctlSerial, ALinkToALiveSimulatorIsRefusedAndKeepsServing) {
    auto serving = Serve();
    const std::filesystem::path device = std::filesystem::read_symlink(Device());
    ProgramRun second = RunProgram(VK930SIM_PATH, {"--link", Device(), "sim"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.err,
              "vk930-sim: '" + Device() + "' already exists: a link to the live pseudo-terminal '" +
                  device.string() + "' (stop what serves it, or choose another PATH)\n");
    EXPECT_EQ(std::filesystem::read_symlink(Device()), device);
    ProgramRun run = Run({"--porcelain", "--link", Device(), "info"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;

    // Anything that is no symbolic link is refused, whatever it is.
    serving->Stop();
    std::filesystem::create_directory(Device());
    ProgramRun folder = RunProgram(VK930SIM_PATH, {"--link", Device(), "sim"});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(folder.err, "vk930-sim: '" + Device() + "' already exists\n");
    EXPECT_TRUE(std::filesystem::is_directory(Device()));
}

TEST_F(Vk930ctlSerial, TheSimulatorEscapesTheTextsItNames) {
    const std::string hostile = dir.File(
        "a\x1b]0;PWNED\x07"
        "b/vk0");
    ProgramRun run = RunProgram(VK930SIM_PATH, {"--link", hostile, "sim"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("a\\x1B]0;PWNED\\x07b/vk0"), std::string::npos) << run.err;
}

TEST_F(Vk930ctlSerial, TheSettingsTellWhatEachComPortReaches) {
    auto sim = Serve();
    WriteFile(dir.File("settings.ini"), "[General]\nDevice3=" + Device() + "\n");
    ProgramRun run = Run({"--porcelain", "--port", "3", "info"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("1\tDone\n"), std::string::npos);
}

TEST_F(Vk930ctlSerial, AMissingDeviceIsNamedOnStandardError) {
    const std::string missing = dir.File("nothing-here");
    ProgramRun run = Run({"--link", missing, "info"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "[FAIL] Cannot open COM1\n");
    EXPECT_EQ(run.err, "vk930ctl: COM1: serial device '" + missing +
                           "' does not exist\nvk930ctl: port-not-opened: COM1 did not open\n");
}

TEST_F(Vk930ctlSerial, AVanishedDeviceIsNamedAndNothingSucceeds) {
    auto sim = Serve("hangup=2");
    ProgramRun run = Run({"--porcelain", "--link", Device(), "info"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.find("1\t"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("the serial device failed or was unplugged"), std::string::npos)
        << run.err;
    EXPECT_EQ(sim->Wait(), 0);
}

TEST_F(Vk930ctlSerial, PortsListsEveryComNumberAndWhatItReaches) {
    WriteFile(dir.File("settings.ini"), "[General]\nDevice3=" + Device() + "\nDevice5=sim\n");
    ProgramRun run = Run({"ports"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Serial ports present:\n"), std::string::npos);
    // Each line ends with the state of what the port reaches; the current port is marked.
    const auto ttyS = [](int n) {
        const std::string path = "/dev/ttyS" + std::to_string(n);
        return path + (std::filesystem::exists(path) ? "  (present)" : "  (missing)");
    };
    EXPECT_NE(
        run.out.find("COM ports reach (* the current one):\n* COM1  " + ttyS(0) + "\n  COM2  " +
                     ttyS(1) + "\n  COM3  " + Device() + "  (missing)\n  COM4  " + ttyS(3) +
                     "\n  COM5  sim  (simulated terminal)\n"),
        std::string::npos)
        << run.out;
    run = Run({"--link", "sim:x.bin", "ports"});
    EXPECT_NE(run.out.find("  COM8  sim:x.bin  (simulated terminal)\n"), std::string::npos)
        << run.out;
    EXPECT_EQ(Run({"ports", "extra"}).exitCode, 2);
}

}  // namespace
}  // namespace vk930::test
