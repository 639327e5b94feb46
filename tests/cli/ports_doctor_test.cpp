// vk930ctl ports (listing and assigning) and doctor, and why a serial device will not open:
// missing, held by another process, or refused to a user outside its group (run as a user
// who is not root).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/qt_serial_port.h"
#include "support/other_user.h"
#include "support/run_program.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

namespace fs = std::filesystem;

class PortsAndDoctor : public ::testing::Test {
  protected:
    ProgramRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", Settings()});
        return RunProgram(VK930CTL_PATH, args);
    }
    std::string Settings() const { return dir.File("settings.ini"); }
    std::string Device() const { return dir.File("vk0"); }
    std::unique_ptr<SimProcess> Serve() {
        auto sim =
            std::make_unique<SimProcess>(VK930SIM_PATH, Device(), "sim:" + dir.File("t.bin"));
        EXPECT_TRUE(sim->Ready()) << sim->Errors();
        return sim;
    }
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
    TempDir dir;
};

TEST_F(PortsAndDoctor, PortsMarksTheCurrentPortAMissingDeviceAndABadSpec) {
    auto sim = Serve();
    WriteFile(Settings(), "[General]\nComPort=3\nDevice1=" + Device() +
                              "\nDevice2=/nowhere/ttyUSB9\nDevice3=sim\nDevice4=none\n"
                              "Device5=sim?bogus\nDevice6=ttyUSB0\n");
    ProgramRun run = Run({"ports"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.out,
                    "COM ports reach (* the current one):\n"
                    "  COM1  " +
                        Device() +
                        "  (present)\n"
                        "  COM2  /nowhere/ttyUSB9  (missing)\n"
                        "* COM3  sim  (simulated terminal)\n"
                        "  COM4  none  (nothing)\n"
                        "  COM5  sim?bogus  (bad link spec: "))
        << run.out;
    EXPECT_TRUE(Has(run.out,
                    "  COM6  ttyUSB0  (missing; a device path is meant: /dev/ttyUSB0)\n"
                    "  COM7  /dev/ttyS6  ("))
        << run.out;
    // --port marks the port this run uses; --link makes every port reach its spec.
    EXPECT_TRUE(Has(Run({"--port", "6", "ports"}).out, "* COM6  ttyUSB0"));
    EXPECT_TRUE(Has(Run({"--link", "none", "ports"}).out, "  COM8  none  (nothing)\n"));
}

TEST_F(PortsAndDoctor, AssignWritesDeviceNAndRefusesWhatCannotWork) {
    auto sim = Serve();
    ProgramRun run = Run({"ports", "--assign", "2", "sim:" + dir.File("t.bin")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "COM2  sim:" + dir.File("t.bin") + "\n");
    EXPECT_TRUE(Has(ReadFile(Settings()), "Device2=sim:" + dir.File("t.bin")));

    run = Run({"ports", "--assign", "3", Device()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(Has(Run({"--port", "3", "info"}).out, "Done")) << "the assigned device is used";

    // Refused, and nothing written: a spec that does not parse, a bare device name, a port
    // number out of range.
    const std::string before = ReadFile(Settings());
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"ports", "--assign", "4", "sim?bogus"},
          {"ports", "--assign", "4", "ttyUSB0"},
          {"ports", "--assign", "4", "COM3"},
          {"ports", "--assign", "9", "none"},
          {"ports", "--assign", "4"},
          {"ports", "--unassign"},
          {"ports", "--swap", "1"}}) {
        run = Run(args);
        EXPECT_EQ(run.exitCode, 2) << args[2];
        EXPECT_TRUE(Has(run.err, "Try 'vk930ctl --help'")) << run.err;
    }
    EXPECT_TRUE(Has(Run({"ports", "--assign", "4", "ttyUSB0"}).err, "/dev/ttyUSB0"));
    EXPECT_TRUE(Has(Run({"ports", "--assign", "4", "COM3"}).err, "/dev/ttyS2"));
    EXPECT_EQ(ReadFile(Settings()), before);

    // A device that is not there is written, with a warning; unassigning writes none.
    run = Run({"ports", "--assign", "4", "/nowhere/ttyACM0"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(Has(run.err, "warning: serial device '/nowhere/ttyACM0' is not present"))
        << run.err;
    EXPECT_TRUE(Has(ReadFile(Settings()), "Device4=/nowhere/ttyACM0"));
    EXPECT_EQ(Run({"ports", "--unassign", "4"}).exitCode, 0);
    EXPECT_TRUE(Has(ReadFile(Settings()), "Device4=none"));
    EXPECT_TRUE(Has(Run({"ports"}).out, "  COM4  none  (nothing)\n"));
}

TEST_F(PortsAndDoctor, DoctorPassesOnAWorkingPortAndNamesEachFaultWithItsFix) {
    auto sim = Serve();
    WriteFile(Settings(), "[General]\nComPort=1\nDevice1=" + Device() +
                              "\nDevice2=/nowhere/ttyUSB9\nDevice3=sim?bogus\nDevice4=none\n");
    ProgramRun run = Run({"doctor", "--port", "1"});
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "[ok]   COM1: serial device '" + Device() + "' exists\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "[ok]   COM1: '" + Device() + "' is not held by another process\n"));
    EXPECT_TRUE(Has(run.out, "[ok]   settings file '" + Settings() + "'"));
    EXPECT_TRUE(Has(run.out, "[ok]   boot file '"));
    EXPECT_TRUE(Has(run.out, "[ok]   state folder '"));
    EXPECT_FALSE(Has(run.out, "COM2")) << "--port N checks that port alone";

    // Without --port: the current port and every port with a device assigned.
    run = Run({"doctor"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Has(run.out, "[FAIL] COM2: serial device '/nowhere/ttyUSB9' does not exist; fix: "))
        << run.out;
    EXPECT_TRUE(Has(run.out, "[FAIL] COM3: bad link spec 'sim?bogus': "));
    EXPECT_TRUE(Has(run.out, "[ok]   COM4 reaches nothing (none)\n"));
    EXPECT_TRUE(
        Has(Run({"--port", "4", "doctor"}).out,
            "[FAIL] COM4, the current port, reaches nothing; fix: vk930ctl ports --assign 4"));
    EXPECT_EQ(Run({"doctor", "--port", "9"}).exitCode, 2);
    EXPECT_EQ(Run({"--link", "sim", "doctor"}).exitCode, 0);

    // The boot file is missing when neither the working directory nor the program's folder
    // nor the system folder has one: a copy of vk930ctl alone in a folder shows it, unless the
    // package is installed.
    TempDir alone;
    fs::copy_file(VK930CTL_PATH, alone.File("vk930ctl"));
    run = RunProgram(alone.File("vk930ctl"), {"--settings", Settings(), "--link", "sim", "doctor"},
                     alone.Path().string());
    if (!fs::exists("/usr/share/vk930config/boot.a20") &&
        !fs::exists("/usr/local/share/vk930config/boot.a20")) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(Has(run.out, "[FAIL] no boot file boot.a20")) << run.out;
    }
}

TEST_F(PortsAndDoctor, AMissingDeviceGivenByABareNameSuggestsItsPath) {
    ProgramRun run = Run({"--link", "ttyUSB7", "info"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1),
              "vk930ctl: COM1: serial device 'ttyUSB7' does not exist; on Linux a serial device "
              "is named by its path: /dev/ttyUSB7\n");
}

// Another program has the device open: its pid and name are said, not Qt's "Permission error
// while locking the device".
TEST_F(PortsAndDoctor, ADeviceInUseNamesTheProcessHoldingIt) {
    auto sim = Serve();
    QtSerialPort holder(Device());
    ASSERT_TRUE(holder.Open(19200).ok());
    const std::string pid = std::to_string(getpid());
    ProgramRun run = Run({"--link", Device(), "info"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "[FAIL] Cannot open COM1\n");
    EXPECT_TRUE(Has(run.err, "vk930ctl: COM1: " + Device() + ": in use by process " + pid + " ("))
        << run.err;
    EXPECT_FALSE(Has(run.err, "locking")) << run.err;
    run = Run({"--link", Device(), "doctor"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Has(run.out, "[FAIL] COM1: '" + Device() + "' is in use by process " + pid))
        << run.out;
    holder.Close();
    EXPECT_EQ(Run({"--link", Device(), "info"}).exitCode, 0);
}

// A user outside the device's group is told which group to join and how.
TEST_F(PortsAndDoctor, PermissionDeniedNamesTheGroupAndTheFix) {
    std::string why;
    const std::optional<OtherUser> user = NonRootUser(why);
    if (!user) GTEST_SKIP() << why;
    auto sim = Serve();
    const fs::path pts = fs::canonical(Device());
    if (getuid() == 0) {
        // The pseudo-terminal becomes a device of group dialout, as udev makes a USB adapter.
        ASSERT_EQ(chown(pts.c_str(), 0, 20), 0);  // gid 20: dialout on Debian
        ASSERT_EQ(chmod(pts.c_str(), 0660), 0);
    } else if (access(pts.c_str(), W_OK) == 0) {
        GTEST_SKIP() << "the pseudo-terminal is this user's own: no permission to refuse";
    }
    // The user's own folder, reachable through the test's.
    fs::permissions(dir.Path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const fs::path home = dir.Path() / "home";
    fs::create_directories(home);
    if (getuid() == 0) {
        ASSERT_EQ(chown(home.c_str(), user->uid, user->gid), 0);
    }
    const std::vector<std::string> env = {
        "HOME=" + home.string(), "XDG_CONFIG_HOME=" + (home / "config").string(),
        "XDG_STATE_HOME=" + (home / "state").string(), "QT_QPA_PLATFORM=offscreen"};
    const std::string settings = (home / "settings.ini").string();
    const auto runAs = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {VK930CTL_PATH, "--settings", settings, "--link", Device()});
        const std::vector<std::string> command = user->Command(env, args);
        return RunProgram(command[0], {command.begin() + 1, command.end()});
    };

    ProgramRun run = runAs({"info"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, "[FAIL] Cannot open COM1\n");
    EXPECT_TRUE(Has(run.err, "vk930ctl: COM1: " + Device() + ": permission denied: '" + Device() +
                                 "' belongs to group 'dialout', which user '" + user->name +
                                 "' is not in; fix: sudo usermod -aG dialout $USER, then log out "
                                 "and in again\n"))
        << run.err;

    run = runAs({"doctor"});
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "[ok]   COM1: serial device '" + Device() + "' exists\n")) << run.out;
    EXPECT_TRUE(Has(
        run.out, "[FAIL] COM1: permission denied: '" + Device() + "' belongs to group 'dialout'"))
        << run.out;
    EXPECT_TRUE(Has(run.out, "sudo usermod -aG dialout $USER")) << run.out;
    EXPECT_TRUE(Has(run.out, "[ok]   settings file '" + settings + "'")) << run.out;
    EXPECT_TRUE(Has(run.out, "[ok]   state folder '" + (home / "state").string() + "/VK930Config'"))
        << run.out;

    // The settings folder of the user is not writable: doctor says so.
    if (getuid() == 0) {
        // The run before recorded itself in the service log, which made the state folder.
        fs::remove_all(home / "state");
        fs::permissions(home, fs::perms::owner_read | fs::perms::owner_exec);
        run = runAs({"doctor"});
        EXPECT_TRUE(Has(run.out, "[FAIL] state folder '" + (home / "state").string() +
                                     "/VK930Config' cannot be created"))
            << run.out;
        fs::permissions(home, fs::perms::owner_all);
    }
}

}  // namespace
}  // namespace vk930::test
