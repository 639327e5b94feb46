// Each program's --help and its manual page say the same: every command, option, link-spec
// option and settings key that vk930ctl --help names is in vk930ctl(1), and the reverse for the
// commands; vk930-sim's and the window's options and link-spec options are in their pages.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

#include "cli/cli_commands.h"
#include "cli/help_text.h"
#include "core/terminal/link_spec.h"
#include "core/terminal/link_spec_help.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

// The words of a font-alternating request (".BR a b", ".BI a \"b c\"") as the reader sees
// them: run together, quotes dropped.
std::string AlternatingFontWords(const std::string& arguments) {
    std::string joined;
    bool quoted = false;
    for (const char c : arguments) {
        if (c == '"')
            quoted = !quoted;
        else if (c != ' ' || quoted)
            joined += c;
    }
    return joined;
}

// A manual page of data/man as text: roff escapes, font changes and requests dropped.
std::string ManPageText(const std::string& page = "vk930ctl") {
    std::string text = ReadFile(VK930_SOURCE_DIR "/data/man/" + page + ".1");
    text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    std::istringstream lines(text);
    std::string plain;
    const std::regex alternating(R"(^\.(BR|BI|RB|IR|RI|IB) (.*)$)");
    const std::regex single(R"(^\.(B|I) (.*)$)");
    std::smatch request;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_match(line, request, alternating))
            plain += AlternatingFontWords(request[2].str()) + "\n";
        else if (std::regex_match(line, request, single))
            plain += request[2].str() + "\n";
        else
            plain += line + "\n";
    }
    return plain;
}

std::string Help(const std::string& program = VK930CTL_PATH) {
    const ProgramRun run = RunProgram(program, {"--help"});
    EXPECT_EQ(run.exitCode, 0) << program << ": " << run.err;
    return run.out;
}

// The --options a help text names.
std::set<std::string> OptionsOf(const std::string& help) {
    std::set<std::string> options;
    const std::regex option(R"(--[a-z][a-z-]*)");
    for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it)
        options.insert(it->str());
    return options;
}

void ExpectOptionsInManPage(const std::string& help, const std::string& man) {
    for (const std::string& name : OptionsOf(help))
        EXPECT_NE(man.find(name), std::string::npos) << name << " is not in the manual page";
}

// The link-spec options of a help text, from the lines after "Options of sim:" up to the next
// blank line, without their placeholders: "fail=lose:N" is "fail=lose:", "boot=no00|noAA" is
// "boot=no00" and "noAA".
std::vector<std::string> SimOptionNames(const std::string& help) {
    std::vector<std::string> names;
    const std::size_t from = help.find("Options of sim:\n");
    EXPECT_NE(from, std::string::npos) << help;
    if (from == std::string::npos) return names;
    std::istringstream simOptions(help.substr(from, help.find("\n\n", from) - from));
    std::string line;
    std::getline(simOptions, line);
    while (std::getline(simOptions, line)) {
        std::istringstream words(line.substr(0, line.find('(')));
        for (std::string word; words >> word;) {
            std::istringstream alternatives(std::regex_replace(word, std::regex("[A-Z]+$"), ""));
            for (std::string name; std::getline(alternatives, name, '|');) names.push_back(name);
        }
    }
    return names;
}

// `name` stands in `text` as a word of its own ("lose" is not found in "closes").
bool HasWord(const std::string& text, const std::string& name) {
    return std::regex_search(text, std::regex("(^|[^a-z0-9])" + name + "($|[^a-z0-9])"));
}

void ExpectSimOptionsInManPage(const std::string& help, const std::string& man) {
    const std::vector<std::string> names = SimOptionNames(help);
    EXPECT_GT(names.size(), 20u);
    for (const std::string& name : names)
        EXPECT_TRUE(HasWord(man, name)) << name << " is not in the manual page";
    for (const char* named : {"fail=lose:", "series=", "remove=", "plugin=", "hangup="})
        EXPECT_NE(std::find(names.begin(), names.end(), named), names.end()) << named;
}

TEST(HelpAndManPage, EveryCommandOptionAndSettingsKeyOfTheHelpIsInTheManPage) {
    const std::string help = Help();
    const std::string man = ManPageText();
    ASSERT_FALSE(man.empty());
    for (const CliCommand& command : CliCommands()) {
        EXPECT_NE(help.find("  " + command.name + " "), std::string::npos) << command.name;
    }
    const std::set<std::string> options = OptionsOf(help);
    EXPECT_TRUE(options.count("--assign") && options.count("--porcelain") &&
                options.count("--version"));
    ExpectOptionsInManPage(help, man);
    ExpectSimOptionsInManPage(help, man);

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

// Every link-spec option the help lists is one the parser takes, so the help names no option
// that is gone or misspelt. Placeholders become values: N a count, MS a delay, TEXT a version.
TEST(HelpAndManPage, EveryLinkSpecOptionOfTheHelpParses) {
    std::istringstream lines(kSimOptionsHelp);
    std::string line;
    std::getline(lines, line);  // "Options of sim:"
    int parsed = 0;
    while (std::getline(lines, line)) {
        std::istringstream words(line.substr(0, line.find('(')));
        for (std::string word; words >> word;) {
            std::string option = std::regex_replace(word, std::regex("N$"), "2");
            option = std::regex_replace(option, std::regex("MS$"), "50");
            option = std::regex_replace(option, std::regex("TEXT$"), "15");
            option = std::regex_replace(option, std::regex("FILE$"), "trace.txt");
            // boot=no00|noAA|...: each value.
            const std::string name = option.substr(0, option.find('=') + 1);
            std::istringstream values(option.substr(name.size()));
            for (std::string value; std::getline(values, value, '|');) {
                const Result<LinkSpec> spec = ParseLinkSpec("sim?" + name + value);
                EXPECT_TRUE(spec) << name << value << ": " << (spec ? "" : spec.error());
                ++parsed;
            }
        }
    }
    EXPECT_GT(parsed, 20);  // the lines were read, not skipped
}

// vk930-sim --help names its options and the link-spec options; vk930-sim(1) describes each.
TEST(HelpAndManPage, TheSimulatorsHelpIsInItsManPage) {
    const std::string help = Help(VK930SIM_PATH);
    const std::string man = ManPageText("vk930-sim");
    ASSERT_FALSE(man.empty());
    const std::set<std::string> options = OptionsOf(help);
    EXPECT_TRUE(options.count("--link") && options.count("--pace") && options.count("--help"))
        << help;
    ExpectOptionsInManPage(help, man);
    ExpectSimOptionsInManPage(help, man);
    for (const char* section : {"OPTIONS", "LINK-SPEC OPTIONS", "EXAMPLES", "EXIT STATUS"})
        EXPECT_NE(man.find(std::string(".SH ") + section), std::string::npos) << section;
}

// The window's command line (vk930config --help) is in vk930config(1), with its controls,
// menus and the settings it reads itself.
TEST(HelpAndManPage, TheWindowsCommandLineIsInItsManPage) {
#ifdef VK930CONFIG_PATH
    setenv("QT_QPA_PLATFORM", "offscreen", 1);  // --help needs no display
    const std::string help = Help(VK930CONFIG_PATH);
    const std::string man = ManPageText("vk930config");
    ASSERT_FALSE(man.empty());
    const std::set<std::string> options = OptionsOf(help);
    EXPECT_TRUE(options.count("--link") && options.count("--settings") &&
                options.count("--version"))
        << help;
    EXPECT_FALSE(options.count("--exit-when-shown")) << "a benchmark's option is no user's";
    ExpectOptionsInManPage(help, man);
    EXPECT_NE(man.find("FILE.pcg"), std::string::npos);
    for (const char* key : {"Editor", "AllowEditSno", "ComPort", "commID"})
        EXPECT_NE(man.find(key), std::string::npos) << key;
    for (const char* section : {"OPTIONS", "CONTROLS", "MENUS", "EDITOR", "SETTINGS", "FILES"})
        EXPECT_NE(man.find(std::string(".SH ") + section), std::string::npos) << section;
#else
    GTEST_SKIP() << "the window is not built";
#endif
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
