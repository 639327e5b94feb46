#include "core/commands/get_command.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "core/forms/form_ids.h"
#include "support/link_fixture.h"
#include "support/memory_pages.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

namespace fs = std::filesystem;

int CountLines(const std::string& text) {
    int lines = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

std::vector<std::string> FilesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every Get runs on both links: in process and serial to vk930-sim.
class GetTest : public BothLinksFixture {
  protected:
    void Answer(int portIndex, const std::string& path) {
        host.getParamsAnswers.push_back({true, portIndex, path});
    }
    std::string Target() const { return dir.File("a.pcg"); }
    TempDir dir;
};

const std::vector<LogEntry> kSuccessLog = {{"Connected to COM1...", 1},
                                           {"Reading Device type...", 2},
                                           {"Reading Info OK", 2},
                                           {"Device type: VK930 Hand Terminal", 2},
                                           {"Reading eeprom Page:0...", 2},
                                           {"Reading eeprom Page:1...", 2},
                                           {"Writing HS parameters to file...", 2},
                                           {"DONE Succesfully!", 1}};

TEST_P(GetTest, GetButtonWritesTheRawFormAndOpensTheFile) {
    UseTerminal("");
    Answer(0, Target());
    View().OnGet();

    EXPECT_EQ(host.log, kSuccessLog);
    const std::string text = ReadFile(Target());
    EXPECT_EQ(CountLines(text), 513);
    EXPECT_EQ(text.substr(0, 14), "SYSTEM:0,0,0\r\n");
    EXPECT_NE(text.find("\r\nSYSTEM:0,5,30\r\nSYSTEM:0,6,0\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 25), "\r\nSYSTEM:1,255,255\r\nEND\r\n");
    EXPECT_EQ(state.rawDump, 0);
    ASSERT_EQ(Calls().size(), 5u + 512u + 1u);
    EXPECT_EQ(
        std::vector<std::string>(Calls().begin(), Calls().begin() + 6),
        (std::vector<std::string>{"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6",
                                  "ReadPage0(0,255)=1", "ReadPage1(0,255)=1", "GetByte(0,0)=0"}));
    EXPECT_EQ(Calls().back(), "Connect(1,0)=0");
    EXPECT_EQ(host.beeps, 0);
    EXPECT_EQ(host.clockMs, 300);
    EXPECT_EQ(state.document.m_strFilePath, Target());
    EXPECT_EQ(state.document.m_nFileOpened, 1);
    EXPECT_EQ(host.title, Target());
    EXPECT_EQ(host.texts[id::kFilePath], Target());
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"a.pcg"});  // no temporary left
}

TEST_P(GetTest, HiddenButtonWritesTheKeyedFormOverAnExistingFile) {
    UseTerminal("");
    WriteFile(Target(), "OLD\r\n");
#ifndef _WIN32  // Windows keeps a read-only flag, not owner, group and others
    fs::permissions(Target(), fs::perms::owner_read | fs::perms::owner_write);
#endif
    state.comPort = 2;
    Answer(1, Target());
    View().OnGetParameters();

    EXPECT_EQ(ReadFile(Target()), kFactoryKeyedFile);
    EXPECT_EQ(host.log.front(), (LogEntry{"Connected to COM2...", 1}));
    EXPECT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1}));
#ifndef _WIN32
    EXPECT_EQ(fs::status(Target()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
#endif
    EXPECT_EQ(Calls()[5], "GetText(0,1,20)=\"VK930 HAND TERMINAL \"");
    EXPECT_EQ(Calls().back(), "Connect(2,0)=0");
}

struct GetFailureCase {
    const char* name;
    const char* terminal;  // sim options; "none": nothing answers the port
    int portIndex;         // -2: the dialog is cancelled
    const char* path;      // in the test folder ("" for a.pcg); "=..." taken as it stands
    std::vector<LogEntry> log;
    std::vector<std::string> tail;  // the last events: closing and beeping in order
    std::vector<std::string> calls;
};

std::vector<LogEntry> Upto(size_t n, std::vector<LogEntry> more) {
    std::vector<LogEntry> log(kSuccessLog.begin(), kSuccessLog.begin() + n);
    log.insert(log.end(), more.begin(), more.end());
    return log;
}

TEST_P(GetTest, EveryFailureKeepsAnExistingFileAndReportsAsTheTableSays) {
    const std::vector<GetFailureCase> cases = {
        {"cancel", "", -2, "", {{"Operation canceled by the user!", 0}}, {"beep"}, {}},
        {"no port",
         "",
         -1,
         "",
         {{"COM port failure", 0}},
         {"box Can't open COM port|Select COM port!", "log 0 COM port failure"},
         {}},
        {"short path",
         "",
         0,
         "=a.pc",
         {{"Bad file name!", 0}},
         {"box Cannot start reading|Define the path and file name for saved data",
          "log 0 Bad file name!"},
         {}},
        {"port unavailable",
         "none",
         4,
         "",
         {{"COM5... not available!", 0}},
         {"log 0 COM5... not available!", "beep"},
         {"Connect(5,19200)=0"}},
        {"no answer",
         "absent",
         0,
         "",
         Upto(2, {{"Connection Failure", 0}, {"Cannot Read Info from COM1", 0}}),
         {"link Connect(1,0)=0", "beep"},
         {"Connect(1,19200)=1", "ReadInfo()=0", "Connect(1,0)=0"}},
        {"other device",
         "type=5",
         0,
         "",
         Upto(3, {{"Connection Failure", 0}, {"Cannot Read device from COM1", 0}}),
         {"link Connect(1,0)=0", "beep"},
         {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=5", "Connect(1,0)=0"}},
        {"file cannot be created",
         "",
         0,
         "missing/a.pcg",
         Upto(4, {{"Cannot open file", 0}}),
         {"link Connect(1,0)=0", "beep"},
         {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6", "Connect(1,0)=0"}},
        {"target is a folder",
         "",
         0,
         "folder",
         Upto(4, {{"Cannot open file", 0}}),
         {"link Connect(1,0)=0", "beep"},
         {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6", "Connect(1,0)=0"}},
        {"page 0",
         "fail=page0",
         0,
         "",
         Upto(5, {{"Connection Failure", 0}}),
         {"link Connect(1,0)=0", "beep"},
         {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6", "ReadPage0(0,255)=0",
          "Connect(1,0)=0"}},
        {"page 1",
         "fail=page1",
         0,
         "",
         Upto(6, {{"Connection Failure", 0}}),
         {"log 0 Connection Failure", "link Connect(1,0)=0"},
         {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6", "ReadPage0(0,255)=1",
          "ReadPage1(0,255)=0", "Connect(1,0)=0"}},
    };
    fs::create_directory(dir.File("folder"));
    for (const GetFailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        host = FakeHost{};
        state = AppState{};
        if (std::string(c.terminal) == "none")
            UseNoTerminal();
        else
            UseTerminal(c.terminal);
        WriteFile(Target(), "OLD\r\n");
        ClearCalls();
        std::string path = *c.path ? dir.File(c.path) : Target();
        if (*c.path == '=') path = c.path + 1;
        if (c.portIndex != -2) Answer(c.portIndex, path);
        View().OnGet();

        EXPECT_EQ(host.log, c.log);
        ASSERT_GE(host.events.size(), c.tail.size());
        EXPECT_EQ(std::vector<std::string>(host.events.end() - c.tail.size(), host.events.end()),
                  c.tail);
        EXPECT_EQ(Calls(), c.calls);
        EXPECT_EQ(host.beeps, c.tail.back() == "beep" ? 1 : 0);
        EXPECT_EQ(ReadFile(Target()), "OLD\r\n");
        EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"a.pcg", "folder"}));
        EXPECT_EQ(state.rawDump, 1);  // only a complete raw dump clears it
        EXPECT_NE(state.document.m_nFileOpened, 1);
    }
}

TEST_P(GetTest, AFailedRunLeavesNoFileWhereThereWasNone) {
    UseTerminal("fail=page1");
    Answer(0, Target());
    View().OnGetParameters();
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

TEST_P(GetTest, DialogChoicesStayAndThePathIsOfferedAgain) {
    UseTerminal("");
    state.comPort = 7;  // the dialog lists COM1 to COM6: no entry can be preselected
    Answer(-1, "x.p");
    View().OnGetParameters();
    EXPECT_EQ(host.getParamsRequests.back(), (std::pair<int, std::string>{6, ""}));
    EXPECT_EQ(state.comPort, 0);
    EXPECT_EQ(state.document.m_strFilePath, "x.p");
    EXPECT_EQ(host.texts[id::kFilePath], "x.p");
    EXPECT_EQ(host.beeps, 0);

    Answer(2, "abcd");
    View().OnGetParameters();
    EXPECT_EQ(host.getParamsRequests.back(), (std::pair<int, std::string>{-1, "x.p"}));
    EXPECT_EQ(state.comPort, 3);
    EXPECT_EQ(host.log.back(), (LogEntry{"Bad file name!", 0}));
    EXPECT_EQ(state.document.m_strFilePath, "abcd");  // a short path is still taken

    host.getParamsAnswers.clear();
    View().OnGetParameters();
    EXPECT_EQ(host.getParamsRequests.back(), (std::pair<int, std::string>{2, "abcd"}));
}

TEST_P(GetTest, RawDumpFlagLivesUntilARawFileIsComplete) {
    UseTerminal("");
    View().OnGet();  // cancelled
    EXPECT_EQ(state.rawDump, 1);
    Answer(0, Target());
    View().OnGetParameters();  // the hidden button still dumps raw
    EXPECT_EQ(CountLines(ReadFile(Target())), 513);
    EXPECT_EQ(state.rawDump, 0);
    Answer(0, Target());
    View().OnGetParameters();
    EXPECT_EQ(CountLines(ReadFile(Target())), 40);
}

#ifndef _WIN32  // pipes and symbolic links of this kind are Linux's
TEST_P(GetTest, APipeOrADeviceIsNeverReplacedByTheFile) {
    UseTerminal("");
    const std::string pipe = dir.File("pipe.pcg");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    Answer(0, pipe);
    View().OnGetParameters();
    EXPECT_EQ(host.log.back(), (LogEntry{"Cannot open file", 0}));
    EXPECT_EQ(Calls().back(), "Connect(1,0)=0");
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"pipe.pcg"});
}

TEST_P(GetTest, ASymbolicLinkIsWrittenThrough) {
    UseTerminal("");
    WriteFile(dir.File("real.pcg"), "OLD\r\n");
    fs::create_symlink(dir.File("real.pcg"), Target());
    Answer(0, Target());
    View().OnGetParameters();
    EXPECT_TRUE(fs::is_symlink(Target()));
    EXPECT_EQ(ReadFile(dir.File("real.pcg")), kFactoryKeyedFile);
}
#endif

INSTANTIATE_TEST_SUITE_P(Links, GetTest, BothLinks(), LinkKindName);

}  // namespace
}  // namespace vk930::test
