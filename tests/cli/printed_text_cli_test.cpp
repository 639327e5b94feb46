// What vk930ctl prints of texts from files and terminals: escaped, one line per entry, with
// the format that --help and the user guide describe.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

class PrintedTextCli : public ::testing::Test {
  protected:
    ProgramRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", dir.File("settings.ini")});
        return RunProgram(VK930CTL_PATH, args);
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    static bool HasLine(const std::string& text, const std::string& line) {
        return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
    }
    TempDir dir;
};

TEST_F(PrintedTextCli, AHostileFileIsEchoedEscapedOneLinePerEntry) {
    static const char kHostile[] =
        "HEADING:\x1b]0;PWNED\x07\x1b[2J\r\n"
        "F1TXT:tab\there\\back\r\n"
        "NOTE \xc3\xa9 \xe2\x82\xac ok\r\n"
        "BAD \xc3( \xc2\x9b"
        "2J \xff\x00!\r\n"
        "END\r\n";
    const std::string file = dir.File("hostile.pcg");
    WriteFile(file, std::string(kHostile, sizeof kHostile - 1));

    const ProgramRun porcelain =
        Run({"--porcelain", "--link", "sim:" + dir.File("t.bin"), "set", file});
    EXPECT_EQ(porcelain.exitCode, 0) << porcelain.out << porcelain.err;
    EXPECT_EQ(porcelain.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(porcelain.out.find('\x07'), std::string::npos);
    EXPECT_EQ(porcelain.out.find('\r'), std::string::npos);
    for (const std::string& echo : {
             std::string("2\tHEADING:\\x1B]0;PWNED\\x07\\x1B[2J"),
             std::string("2\tF1TXT:tab\\x09here\\\\back"),
             std::string("2\tNOTE \xc3\xa9 \xe2\x82\xac ok"),  // well-formed UTF-8 as it is
             std::string("2\tBAD \\xC3( \\xC2\\x9B2J \\xFF\\x00!"),
         })
        EXPECT_TRUE(HasLine(porcelain.out, echo)) << echo << "\n" << porcelain.out;
    // Every line is one whole entry, field or outcome: its kind, id or class, one tab, then a
    // text without one.
    const std::regex entry("[012]\t[^\t]*|@[0-9]+\t[^\t]*|=[a-z-]+(\t[^\t]*)?");
    const std::vector<std::string> lines = Lines(porcelain.out);
    for (const std::string& line : lines) EXPECT_TRUE(std::regex_match(line, entry)) << line;
    // Connected .. Writing parameters (9), 5 echoes, function keys (11), DONE, the file field,
    // the outcome.
    ASSERT_EQ(lines.size(), 28u) << porcelain.out;
    EXPECT_EQ(lines[26], "@1025\t" + file);
    EXPECT_EQ(lines[27], "=success");

    const ProgramRun readable = Run({"--link", "sim:" + dir.File("t.bin"), "set", file});
    EXPECT_EQ(readable.exitCode, 0) << readable.out << readable.err;
    EXPECT_EQ(readable.out.find('\x1b'), std::string::npos);
    EXPECT_TRUE(HasLine(readable.out, "[ .. ] HEADING:\\x1B]0;PWNED\\x07\\x1B[2J")) << readable.out;
    EXPECT_EQ(Lines(readable.out).size(), 27u);
}

TEST_F(PrintedTextCli, MessagesOnStandardErrorAreEscapedToo) {
    // A settings file that is a folder is named, with its path as given.
    const std::string folder = dir.File("set\x1b[2Jtings");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    ProgramRun run = RunProgram(VK930CTL_PATH, {"--settings", folder, "info"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("set\\x1B[2Jtings"), std::string::npos) << run.err;

    // The outcome's detail names the file as given.
    const std::string missing = dir.File("no\x1b[2J.pcg");
    run = Run({"--link", "sim:" + dir.File("t.bin"), "set", missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("no\\x1B[2J.pcg"), std::string::npos) << run.err;
    run = Run({"--porcelain", "--link", "sim:" + dir.File("t.bin"), "set", missing});
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n=file\t"), std::string::npos) << run.out;

    run = Run({"frob\x1b]0;x\x07"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("unknown command 'frob\\x1B]0;x\\x07'"), std::string::npos) << run.err;
}

// The fields that --help lists, as "  @ID  Name" lines.
std::vector<std::string> HelpFieldIds(const std::string& help) {
    std::vector<std::string> ids;
    const std::regex field("\n  (@[0-9]+)  [A-Za-z]");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), field);
         it != std::sregex_iterator(); ++it)
        ids.push_back((*it)[1]);
    return ids;
}

TEST_F(PrintedTextCli, HelpAndUserGuideDescribeThePorcelainFormat) {
    const ProgramRun help = RunProgram(VK930CTL_PATH, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* part :
         {"K<TAB>TEXT", "@ID<TAB>TEXT", "=CLASS<TAB>TEXT", "interrupted", "\\xNN",
          "a backslash as \\\\", "0x00 to 0x1F", "0x7F", "U+0080 to U+009F", "well-formed UTF-8"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part << "\n" << help.out;
    const std::vector<std::string> ids = HelpFieldIds(help.out);
    EXPECT_EQ(ids.size(), 9u) << help.out;

    // The user guide's porcelain section lists the same fields.
    const std::string guide = ReadFile(VK930_USER_GUIDE);
    const size_t section = guide.find("### Porcelain output");
    ASSERT_NE(section, std::string::npos);
    const std::string text = guide.substr(section, guide.find("\n#", section + 1) - section);
    for (const std::string& id : ids) EXPECT_NE(text.find("`" + id + "`"), std::string::npos) << id;
    for (const char* part : {"\\xNN", "=CLASS", "interrupted"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

}  // namespace
}  // namespace vk930::test
