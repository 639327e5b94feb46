// vk930ctl --help and its manual page say the same: every command, option, link-spec option
// and settings key that --help names is in the manual page, and the reverse for the commands.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

#include "cli/cli_commands.h"
#include "cli/help_text.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

// The manual page as text: roff escapes and font changes dropped.
std::string ManPageText() {
    std::string text = ReadFile(VK930_SOURCE_DIR "/data/man/vk930ctl.1");
    text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    // ".BR a b" and ".BI a b" run their words together.
    text = std::regex_replace(text, std::regex(R"(\n\.(B|I|BR|BI|RB|IR|RI) )"), "\n");
    return std::regex_replace(text, std::regex(R"(" ")"), "");
}

std::string Help() {
    const ProgramRun run = RunProgram(VK930CTL_PATH, {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    return run.out;
}

TEST(HelpAndManPage, EveryCommandOptionAndSettingsKeyOfTheHelpIsInTheManPage) {
    const std::string help = Help();
    const std::string man = ManPageText();
    ASSERT_FALSE(man.empty());
    for (const CliCommand& command : CliCommands()) {
        EXPECT_NE(help.find("  " + command.name + " "), std::string::npos) << command.name;
    }
    std::set<std::string> options;
    const std::regex option(R"(--[a-z][a-z-]*)");
    for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it)
        options.insert(it->str());
    EXPECT_TRUE(options.count("--assign") && options.count("--porcelain") &&
                options.count("--version"));
    for (const std::string& name : options)
        EXPECT_NE(man.find(name), std::string::npos) << name << " is not in the manual page";

    // The link-spec options: the words of the lines after "Options of sim:".
    const std::size_t from = help.find("Options of sim:\n");
    ASSERT_NE(from, std::string::npos);
    std::istringstream simOptions(help.substr(from, help.find("\n\n", from) - from));
    std::string line;
    std::getline(simOptions, line);
    int count = 0;
    while (std::getline(simOptions, line)) {
        const std::regex word(R"(([a-z0-9]+=?)[A-Z:]*)");
        const std::string words = line.substr(0, line.find('('));
        for (std::sregex_iterator it(words.begin(), words.end(), word), end; it != end; ++it) {
            const std::string name = (*it)[1].str();
            EXPECT_NE(man.find(name), std::string::npos) << name << " is not in the manual page";
            ++count;
        }
    }
    EXPECT_GT(count, 20);

    for (const std::string& key : SettingsKeys()) {
        EXPECT_NE(help.find(key), std::string::npos) << key;
        EXPECT_NE(man.find(key), std::string::npos) << key << " is not in the manual page";
    }
    for (const char* section :
         {"Exit status:", "Link specs", "Settings keys", "Files:", "Commands:", "Options:"})
        EXPECT_NE(help.find(section), std::string::npos) << section;
    for (const char* section :
         {"EXIT STATUS", "LINK SPECS", "SETTINGS", "FILES", "EXAMPLES", "COMMANDS", "OPTIONS"})
        EXPECT_NE(man.find(std::string(".SH ") + section), std::string::npos) << section;
}

// The manual page has an entry for each command, and describes no command that does not exist.
TEST(HelpAndManPage, TheManPageDescribesEachCommandAndNoOther) {
    const std::string man = ReadFile(VK930_SOURCE_DIR "/data/man/vk930ctl.1");
    const std::size_t from = man.find(".SH COMMANDS"), to = man.find(".SH OPTIONS");
    ASSERT_NE(from, std::string::npos);
    std::istringstream commands(man.substr(from, to - from));
    std::string line, previous;
    std::set<std::string> described;
    while (std::getline(commands, line)) {
        if (previous == ".TP") {
            const std::smatch name = [&] {
                std::smatch m;
                std::regex_search(line, m, std::regex(R"(^\.B[IR]? "?([a-z]+))"));
                return m;
            }();
            ASSERT_FALSE(name.empty()) << line;
            EXPECT_NE(FindCliCommand(name[1].str()), nullptr) << name[1].str();
            described.insert(name[1].str());
        }
        previous = line;
    }
    for (const CliCommand& command : CliCommands())
        EXPECT_TRUE(described.count(command.name)) << command.name << " has no entry";
}

}  // namespace
}  // namespace vk930::test
