// vk930ctl given bad input where it enters: settings files that are none, arguments out of
// range, parameter files that are none. A clear error naming the problem, nothing of the
// user's lost, and no command run on a bad start.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

class BadInputCli : public ::testing::Test {
  protected:
    std::string Sim() const { return "sim:" + dir.File("t.bin"); }
    TempDir dir;
};

TEST_F(BadInputCli, ASettingsFileThatIsNoneIsNamedAndLeftAsItIs) {
    std::string binary;
    for (int i = 0; i < 3000; ++i) binary += static_cast<char>((i * 7919) % 256);
    WriteFile(dir.File("binary.ini"), binary);
    WriteFile(dir.File("params.pcg"), "HEADING:Shop\r\nEND\r\n");
    WriteFile(dir.File("huge.ini"), "");
    std::filesystem::resize_file(dir.File("huge.ini"), 100u << 20);  // sparse
    std::filesystem::create_directory(dir.File("folder.ini"));
    const std::pair<std::string, std::string> cases[] = {
        {dir.File("binary.ini"), "is not an INI settings file; left as it is"},
        {dir.File("params.pcg"), "is not an INI settings file; left as it is"},
        {dir.File("huge.ini"), "is larger than 1 MiB"},
        {dir.File("folder.ini"), "is a folder"},
        {"/dev/zero", "is not an INI settings file"},
    };
    for (const auto& [path, problem] : cases) {
        SCOPED_TRACE(path);
        const bool file = std::filesystem::is_regular_file(path) && path != dir.File("huge.ini");
        const std::string before = file ? ReadFile(path) : "";
        const ProgramRun run =
            RunProgram(VK930CTL_PATH, {"--settings", path, "--link", Sim(), "info"});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.rfind("vk930ctl: settings file '" + path + "' ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(problem), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");  // no command ran
        if (file) {
            EXPECT_EQ(ReadFile(path), before);
        }
    }
    EXPECT_EQ(std::filesystem::file_size(dir.File("huge.ini")), 100u << 20);
}

TEST_F(BadInputCli, ArgumentsOutOfRangeAreUsageErrorsNamingTheArgument) {
    const std::string settings = dir.File("settings.ini");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--settings", "", "info"}, "--settings needs a FILE"},
        {{"--port", "0", "info"}, "--port needs a COM port number from 1 to 8"},
        {{"--port", "-1", "info"}, "--port needs"},
        {{"--port", "99999999999", "info"}, "--port needs"},
        {{"--port", "1.5", "info"}, "--port needs"},
        {{"--port", "", "info"}, "--port needs"},
        {{"--link", "", "info"}, "link spec is empty"},
        {{"--link", "sim?version=" + std::string(33, '9'), "info"}, "at most 32 characters"},
        {{"--link", "sim?stall=0", "info"}, "stall=N"},
        {{"--link", "sim?corrupt=99999999999999999999", "info"}, "corrupt=N"},
        // A whole number outside 0 to 65535 is refused by the command itself (exit 1, with a
        // log entry: vk930ctl_test); anything else is no ID at all.
        {{"--link", Sim(), "commid", "+-5"}, "is not an ID from 0 to 65535"},
        {{"--link", Sim(), "commid", " 5"}, "is not an ID"},
        {{"--link", Sim(), "commid", "1e3"}, "is not an ID"},
        {{"--link", Sim(), "commid", ""}, "is not an ID"},
        {{"--link", Sim(), "set", ""}, "set: FILE is empty"},
        {{"--link", Sim(), "firmware"}, "firmware needs one argument"},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> all = {"--settings", settings};
        all.insert(all.end(), args.begin(), args.end());
        const ProgramRun run = RunProgram(VK930CTL_PATH, all);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << testing::PrintToString(args);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("t.bin")));  // no terminal was touched
}

TEST_F(BadInputCli, PortZeroFromASettingsFileThatDoesNotOpenNamesTheFile) {
    WriteFile(dir.File("file"), "a file where the settings' folder would be");
    const std::string settings = dir.File("file/s.ini");
    const std::string why = "no COM port is chosen: the settings file '" + settings +
                            "' cannot be written, so the port is 0; make it writable for this "
                            "user, or give --port N";
    ProgramRun run =
        RunProgram(VK930CTL_PATH, {"--settings", settings, "--porcelain", "--link", Sim(), "info"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.ends_with("=port-not-opened\t" + why + "\n")) << run.out;
    run = RunProgram(VK930CTL_PATH, {"--settings", settings, "--porcelain", "--link", Sim(),
                                     "series", "--next", "--count", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.ends_with("=refused\t" + why + "\n")) << run.out;
    EXPECT_EQ(run.out.find("COM0"), std::string::npos) << "no station ran: " << run.out;
    // A port given on the command line needs no settings.
    run = RunProgram(VK930CTL_PATH, {"--settings", settings, "--porcelain", "--port", "1", "--link",
                                     Sim(), "info"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
}

TEST_F(BadInputCli, TwoStationsOnOneDeviceAreRefusedNamingBoth) {
    WriteFile(dir.File("A"), "");
    const ProgramRun run =
        RunProgram(VK930CTL_PATH, {"--settings", dir.File("settings.ini"), "--porcelain", "--link",
                                   dir.File("A"), "series", "--next", "--port", "1,2"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.ends_with("=refused\tCOM1 and COM2 both reach the device '" +
                                  std::filesystem::canonical(dir.File("A")).string() +
                                  "', which one station at a time can hold open: give each "
                                  "station a device of its own (vk930ctl ports --assign N SPEC), "
                                  "or run one of them\n"))
        << run.out;
}

TEST_F(BadInputCli, AHugeParameterFileIsRefusedWithoutAWrite) {
    WriteFile(dir.File("huge.pcg"), "");
    std::filesystem::resize_file(dir.File("huge.pcg"), 100u << 20);  // sparse
    const ProgramRun run =
        RunProgram(VK930CTL_PATH, {"--settings", dir.File("settings.ini"), "--porcelain", "--link",
                                   Sim(), "set", dir.File("huge.pcg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("0\tCannot open file for reading!\n0\tNot a parameter file: larger "
                           "than 1 MiB\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("DONE"), std::string::npos);
}

}  // namespace
}  // namespace vk930::test
