// Notepad started on a path with blanks, under Wine: a helper program of ours stands in for
// Notepad (command_line_echo, built next to this test) and writes down the command line it
// received and the arguments its C runtime made of it.
#include "platform/win32/notepad.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/temp_dir.h"

namespace vk930::test {
namespace {

namespace fs = std::filesystem;

// Generous: a loaded machine may take a while to start a Wine process.
constexpr auto kEchoWait = std::chrono::seconds(60);

fs::path ThisProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class NotepadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The stand-in under a name with a blank, in a folder with one.
        fs::create_directories(dir_.Path() / "Program Files");
        program_ = (dir_.Path() / "Program Files" / "note pad.exe").string();
        fs::copy_file(ThisProgramFolder() / "command_line_echo.exe", program_);
    }
    void TearDown() override { SetEnvironmentVariableA("VK930_ECHO_FILE", nullptr); }

    // Starts the stand-in, which writes into a file of this start's own.
    Status Start(const std::string& path, const std::string& program) {
        echoFile_ = dir_.File("received-" + std::to_string(++starts_) + ".txt");
        SetEnvironmentVariableA("VK930_ECHO_FILE", echoFile_.c_str());
        return StartNotepad(path, program);
    }

    // What the stand-in received, once it has written it: its command line, then its
    // arguments. The file may not open for a moment after it appears (Wine lets go of the
    // moved file's handle a little later).
    std::vector<std::string> Received() {
        const auto until = std::chrono::steady_clock::now() + kEchoWait;
        std::string text;
        bool read = false;
        while (!read && std::chrono::steady_clock::now() < until) {
            std::ifstream in(echoFile_, std::ios::binary);
            if (in) {
                std::ostringstream out;
                out << in.rdbuf();
                text = out.str();
                read = true;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        EXPECT_TRUE(read) << "the stand-in wrote nothing";
        return Lines(text);
    }

    TempDir dir_;
    std::string program_;
    std::string echoFile_;
    int starts_ = 0;
};

TEST_F(NotepadTest, APathWithBlanksArrivesAsOneArgument) {
    const std::string path = dir_.File("My Parameters") + "\\terminal 7 & co.pcg";
    ASSERT_TRUE(Start(path, program_).ok());
    EXPECT_EQ(Received(),
              (std::vector<std::string>{"\"" + program_ + "\" \"" + path + "\"", path}));
}

TEST_F(NotepadTest, QuotesAndBackslashesInTheArgumentArriveAsTheyWere) {
    for (const std::string& argument : {std::string("C:\\Data\\"), std::string("say \"hi\" now"),
                                        std::string("a\\\\\"b\\"), std::string("%PATH% ^ | <x>")}) {
        ASSERT_TRUE(Start(argument, program_).ok()) << argument;
        const std::vector<std::string> received = Received();
        ASSERT_EQ(received.size(), 2u) << argument;
        EXPECT_EQ(received[1], argument);
    }
}

TEST_F(NotepadTest, NoFileStartsTheProgramAlone) {
    ASSERT_TRUE(Start("", program_).ok());
    EXPECT_EQ(Received(), (std::vector<std::string>{"\"" + program_ + "\""}));
}

TEST_F(NotepadTest, AProgramThatCannotBeStartedIsAnError) {
    const Status started = StartNotepad("C:\\a.pcg", dir_.File("no-such-editor.exe"));
    ASSERT_FALSE(started.ok());
    EXPECT_NE(started.error().find("cannot start"), std::string::npos) << started.error();
}

}  // namespace
}  // namespace vk930::test
