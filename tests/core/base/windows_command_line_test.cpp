// Windows command lines: quoting checked against a table and against the C runtime's own
// splitting rules, written out here independently of the code under test.
#include "core/base/windows_command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace vk930::test {
namespace {

// How the Microsoft C runtime splits the arguments after the program's name: blanks and tabs
// separate, double quotes group; 2n backslashes before a quote give n and the quote groups,
// 2n+1 give n and a literal quote; other backslashes are literal.
std::vector<std::string> SplitArguments(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\\') {
            std::size_t n = 0;
            while (i < text.size() && text[i] == '\\') ++n, ++i;
            if (i < text.size() && text[i] == '"') {
                word.append(n / 2, '\\');
                if (n % 2 == 1) {
                    word += '"';
                    ++i;
                }
            } else {
                word.append(n, '\\');
            }
            inWord = true;
        } else if (c == '"') {
            quoted = !quoted;
            inWord = true;
            ++i;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
            ++i;
        } else {
            word += c;
            inWord = true;
            ++i;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

TEST(WindowsCommandLine, QuotesEveryArgumentAndEscapesWhatWouldEndTheQuotes) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\a.pcg", "\"C:\\a.pcg\""},
        {"C:\\My Files\\a b.pcg", "\"C:\\My Files\\a b.pcg\""},
        {"", "\"\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\Data\\", "\"C:\\Data\\\\\""},  // the last backslash would escape the quote
        {"a\\\"b", "\"a\\\\\\\"b\""},        // a backslash before a quote: both escaped
        {"\\\\server\\share", "\"\\\\server\\share\""},  // not before a quote: as they are
        {"tab\there", "\"tab\there\""},
    };
    for (const auto& [argument, expected] : cases) {
        EXPECT_EQ(QuoteWindowsArgument(argument), expected) << argument;
        EXPECT_EQ(SplitArguments(expected), std::vector<std::string>{argument}) << argument;
    }
}

TEST(WindowsCommandLine, TrickyArgumentsSurviveTheRuntimesSplitting) {
    const std::string pieces[] = {"\\", "\"", " ", "a", "\t", "\\\"", "&", "%x%"};
    // Every string of up to three pieces.
    std::vector<std::string> arguments{""};
    for (int length = 0; length < 3; ++length) {
        const std::size_t count = arguments.size();
        for (std::size_t i = 0; i < count; ++i)
            for (const std::string& piece : pieces) arguments.push_back(arguments[i] + piece);
    }
    for (const std::string& argument : arguments)
        EXPECT_EQ(SplitArguments("x " + QuoteWindowsArgument(argument)),
                  (std::vector<std::string>{"x", argument}))
            << argument;
}

TEST(WindowsCommandLine, NotepadGetsThePathAsOneArgumentOrNothing) {
    EXPECT_EQ(EditorCommandLine(kNotepadProgram, "C:\\Tech Files\\t1.pcg"),
              "Notepad.exe \"C:\\Tech Files\\t1.pcg\"");
    EXPECT_EQ(EditorCommandLine(kNotepadProgram, ""), "Notepad.exe");
    EXPECT_EQ(EditorCommandLine("C:\\Program Files\\ed.exe", "a.pcg"),
              "\"C:\\Program Files\\ed.exe\" \"a.pcg\"");
}

}  // namespace
}  // namespace vk930::test
