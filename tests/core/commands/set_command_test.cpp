#include "core/commands/set_command.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <random>

#include "core/forms/form_ids.h"
#include "core/params/parameter_file.h"
#include "core/params/parameter_table.h"
#include "support/link_fixture.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

using Log = std::vector<LogEntry>;
using Strings = std::vector<std::string>;

Log Join(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Log Echo(std::initializer_list<std::string> lines) {
    Log log;
    for (const std::string& line : lines) log.push_back({line, 2});
    return log;
}

Log FKeyLines(int from = 0, int to = 9) {
    Log log;
    for (int i = from; i <= to; ++i) log.push_back({"F-key: " + std::to_string(i), 2});
    return log;
}

const Log kButtonStart = {{"Connected to COM1...", 1},
                          {"Reading Device type...", 2},
                          {"Reading Info OK", 2},
                          {"Reading eeprom Page:0...", 2},
                          {"Reading eeprom Page:1...", 2}};
const Log kRunStart = {{"Reading Device type...", 2},
                       {"Reading Info OK", 2},
                       {"Device type: VK930 Hand Terminal", 2},
                       {"Writing parameters to Device..", 2}};
const Log kFunctionKeys = {{"Writing function keys..!", 2}};
const Log kDone = {{"DONE Succesfully!", 1}};
const Strings kButtonCalls = {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6",
                              "ReadPage0(0,255)=1", "ReadPage1(0,255)=1"};
const Strings kRunCalls = {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6"};

// The helpers of the Set tests over either fixture: both links, or in process only for the
// tests of what a run makes of its input.
template <class Links>
class SetFixture : public Links {
  protected:
    // Makes the text the document's parameter file.
    void UseFile(const std::string& text) {
        WriteFile(Path(), text);
        this->state.document.m_strFilePath = Path();
    }
    std::string Path() const { return dir.File("p.pcg"); }
    // The link calls the file's lines and function keys made, between identification and end.
    Strings WritesOfRun(size_t before, size_t after) const {
        const Strings& calls = this->Calls();
        if (calls.size() < before + after) return {};
        return Strings(calls.begin() + before, calls.end() - after);
    }
    std::string PageText(int page, int offset, int length) {
        const PageBytes bytes = this->Page(page);
        return std::string(bytes.begin() + offset, bytes.begin() + offset + length);
    }
    TempDir dir;
};

using SetTest = SetFixture<BothLinksFixture>;
using SetInputTest = SetFixture<InProcessLinkFixture>;

TEST_P(SetTest, SuccessfulSetFromTheButtonLogsCallsAndWritesInOrder) {
    UseTerminal("");
    UseFile(
        "HEADING:Shop 3\r\nPASSWORD:9999\r\nSYSTEM:0,200,0\r\nSYSTEM:0,201,7\r\n"
        "F3TXT:ABC\r\nF3SEND:1\r\nEND\r\nSLEEP:4\r\n");
    View().OnSet();

    EXPECT_EQ(host.log, Join({kButtonStart, kRunStart,
                              Echo({"HEADING:Shop 3", "PASSWORD:9999", "SYSTEM:0,200,0",
                                    "SYSTEM:0,201,7", "F3TXT:ABC", "F3SEND:1", "END"}),
                              kFunctionKeys, FKeyLines(), kDone}));
    Strings expected = kButtonCalls;
    for (const char* call :
         {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6",
          "WriteText(0,1,\"Shop 3              \")=1", "WriteByte(17,39,0)=1",
          "WriteByte(18,15,0)=1", "GetByte(0,200)=0", "GetByte(0,201)=0", "WriteByte(201,7,0)=1",
          "WriteByte(52,4,1)=1", "WriteText(53,1,\"ABC\\r\")=1", "ResetDevice()", "Connect(1,0)=0"})
        expected.push_back(call);
    EXPECT_EQ(Calls(), expected);
    EXPECT_EQ(PageText(1, 0, 20), "Shop 3              ");
    EXPECT_EQ(Page(0)[201], 7);
    EXPECT_EQ(PageText(1, 52, 5),
              "\x04"
              "ABC\r");
    EXPECT_EQ(Page(0)[5], 30);  // after END: never read
    EXPECT_EQ(ResetCount(), 1);
    EXPECT_EQ(host.clockMs, 300 + 300 + 50);
    EXPECT_EQ(host.beeps, 0);
    EXPECT_EQ(host.Count("dialog file"), 0);
    EXPECT_EQ(host.texts[id::kFilePath], Path());
    EXPECT_EQ(state.document.m_strFilePath, Path());
    EXPECT_EQ(state.document.m_nFileOpened, 0);
    EXPECT_EQ(state.rawDump, 0);
}

TEST_P(SetTest, EveryNumericKeyOutOfRangeWarnsAndWritesItsSubstitute) {
    UseTerminal("");
    UseFile(
        "EXTRAID:256\nPASSWORD:10000\nLEDONOFF:2\nVOL_FREQ:256\nDOT_COMMA:2\nWAIT_TIME:21\n"
        "SLEEP:4\nVOLUME:7\nLANGUAGE:4\nRECMODE:2\nUSEFORMLOCK:2\nUSECUSTOMTXT:-1\nBATTERY:2\n"
        "WAKESCAN:2\nKEYSOUND:abc2\nEND\n");
    for (int offset : {3, 10, 13, 17, 18, 20, 21, 22, 78, 99, 90})
        Terminal().WriteByte(0, offset, 9);
    View().OnSetParameters();

    const Log warnings = {{"Warning! ExtraID value too big", 0},
                          {"Warning! Password value too big", 0},
                          {"Warning! LED on/off value should be 0 or 1", 0},
                          {"Warning! Volume frequency value should be 0 - 255", 0},
                          {"Warning! Dot,Comma value should be 0 or 1", 0},
                          {"Warning! WaitTime value should be 0 - 20", 0},
                          {"Warning! Sleep value range should be 5-99 sec.", 0},
                          {"Warning! volume value range should be 0-6.", 0},
                          {"Warning! Menu language value should be 0 - 3", 0},
                          {"Warning! Receive mode value should be 0 or 1", 0},
                          {"Warning! Use Formlock value should be 0 or 1", 0},
                          {"Warning! Use Formlock custom txt value should be 0 or 1", 0},
                          {"Warning! Battery value should be 0 or 1", 0},
                          {"Warning! Wake & Scan value should be 0 or 1", 0}};
    Log seen;
    for (const LogEntry& e : host.log)
        if (e.kind == 0) seen.push_back(e);
    EXPECT_EQ(seen, warnings);  // KEYSOUND "abc2" reads as 0: in range
    const PageBytes p = Page(0);
    const std::vector<std::pair<int, int>> substitutes = {
        {3, 0},  {17, 0}, {18, 0}, {10, 1}, {13, 1}, {20, 0}, {22, 15}, {5, 99},
        {16, 4}, {8, 1},  {21, 0}, {78, 0}, {99, 0}, {23, 0}, {90, 0},  {15, 0}};
    for (const auto& [offset, value] : substitutes) EXPECT_EQ(p[offset], value) << offset;
    EXPECT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1}));
}

TEST_P(SetTest, LinesThatMatchNoKeyAreOnlyEchoed) {
    UseTerminal("");
    UseFile("MENULANG:9\nkeysound:0\nKEYSOUND\nVOLUME : 0\nCHANNEL:5\n\nEND:trailing\n");
    View().OnSetParameters();
    EXPECT_EQ(host.log, Join({kRunStart,
                              Echo({"MENULANG:9", "keysound:0", "KEYSOUND", "VOLUME : 0",
                                    "CHANNEL:5", "", "END:trailing"}),
                              kFunctionKeys, FKeyLines(), kDone}));
    EXPECT_EQ(WritesOfRun(3, 2), Strings{});
}

TEST_P(SetTest, SystemLinesAddressAnyByteAndInvalidOnesOnlyWarn) {
    UseTerminal("");
    UseFile(
        "SYSTEM:2,0,0\nSYSTEM:0,256,1\nSYSTEM:1,5,300\nSYSTEM:-1,5,3\nSYSTEM:0,-5,3\n"
        "SYSTEM:0,5,-3\nSYSTEM:10,5,3\nSYSTEM:1\nSYSTEM:0,5,30\nEND\n");
    View().OnSet();
    Log seen;
    for (const LogEntry& e : host.log)
        if (e.kind == 0) seen.push_back(e);
    EXPECT_EQ(seen, Log(6, {"Warning! SYSTEM value not valid!", 0}));
    EXPECT_EQ(WritesOfRun(kButtonCalls.size() + 3, 2),
              (Strings{"GetByte(1,5)=32", "WriteByte(5,3,1)=1", "GetByte(1,0)=86",
                       "WriteByte(0,1,1)=1", "GetByte(0,5)=30"}));
    EXPECT_EQ(Page(1)[5], 3);
    EXPECT_EQ(Page(1)[0], 1);
}

TEST_P(SetTest, AKeyTwiceIsWrittenTwiceAndTheLaterFunctionKeyTextWins) {
    UseTerminal("");
    UseFile("VOLUME:1\nF1TXT:AAA\nVOLUME:2\nF1TXT:BB\nEND\n");
    View().OnSetParameters();
    EXPECT_EQ(WritesOfRun(3, 2), (Strings{"WriteByte(16,1,0)=1", "WriteByte(16,2,0)=1",
                                          "WriteByte(20,2,1)=1", "WriteText(21,1,\"BB\")=1"}));
}

TEST_P(SetTest, TextsAreBroughtToTheirFieldsAndNothingLandsBeyond) {
    UseTerminal("");
    UseFile("HEADING:" + std::string(25, 'H') + "\nFORMLOCKTXT1:" + std::string(30, 'A') +
            "\nFORMLOCKTXT2:B\nF3TXT:ABCDEFGHIJKLMNOP\nF3SEND:1\nF5TXT:" + std::string(15, 'E') +
            "\nF10TXT:" + std::string(40, 'Z') + "\nEND\n");
    View().OnSetParameters();
    EXPECT_EQ(PageText(1, 0, 20), std::string(20, 'H'));
    EXPECT_EQ(PageText(0, 100, 20), std::string(20, 'A'));
    EXPECT_EQ(PageText(0, 120, 20), "B                   ");
    EXPECT_EQ(Page(0)[140], 0);
    EXPECT_EQ(PageText(1, 52, 16),
              "\x0F"
              "ABCDEFGHIJKLMN\r");
    EXPECT_EQ(Page(1)[68], 5);  // F4 keeps its record
    EXPECT_EQ(PageText(1, 84, 16), "\x0F" + std::string(15, 'E'));
    EXPECT_EQ(PageText(1, 164, 16), "\x0F" + std::string(15, 'Z'));
    EXPECT_EQ(Page(1)[180], 255);
    EXPECT_EQ(
        host.log,
        Join({kRunStart,
              Echo({"HEADING:" + std::string(25, 'H'), "FORMLOCKTXT1:" + std::string(30, 'A'),
                    "FORMLOCKTXT2:B", "F3TXT:ABCDEFGHIJKLMNOP", "F3SEND:1",
                    "F5TXT:" + std::string(15, 'E'), "F10TXT:" + std::string(40, 'Z'), "END"}),
              kFunctionKeys,
              FKeyLines(0, 2),
              {{"Warning! F3 text too long, cut to 14 characters", 0}},
              FKeyLines(3, 9),
              {{"Warning! F10 text too long, cut to 15 characters", 0}},
              kDone}));
}

TEST_P(SetTest, ALongLineIsOneLineAndALastLineWithoutLineEndIsApplied) {
    UseTerminal("");
    // Cut into 49-character pieces, the second piece of this line would read "SLEEP:4".
    const std::string longLine = "FORMLOCKTXT1:" + std::string(36, 'x') + "SLEEP:4";
    UseFile(longLine + "\r\nEXTRAID:7\r\nKEYSOUND:0");
    View().OnSetParameters();
    EXPECT_EQ(Page(0)[5], 30);
    EXPECT_EQ(PageText(0, 100, 20), std::string(20, 'x'));
    EXPECT_EQ(PageText(0, 120, 14), "ASK SUPERVISOR");
    EXPECT_EQ(Page(0)[3], 7);
    EXPECT_EQ(Page(0)[15], 0);
    EXPECT_EQ(host.log, Join({kRunStart, Echo({longLine, "EXTRAID:7", "KEYSOUND:0"}), kFunctionKeys,
                              FKeyLines(), kDone}));
}

// Known keys (raw SYSTEM lines aside, which may address any byte) with values of random
// bytes, signs, digits, separators and line ends, some far longer than any field.
std::string GarbageFile(std::mt19937& random) {
    std::vector<std::string> keys;
    for (const ParameterRow& row : ParameterTable())
        if (row.HasPlace()) keys.emplace_back(row.key);
    const std::string alphabet = "0123456789-+ :,\r\n\t";
    std::string file;
    for (int line = 0; line < 60; ++line) {
        file += keys[random() % keys.size()] + ":";
        const size_t length = random() % (random() % 4 == 0 ? 300 : 12);
        for (size_t i = 0; i < length; ++i)
            file += random() % 3 ? alphabet[random() % alphabet.size()]
                                 : static_cast<char>(random() % 256);
        file += random() % 2 ? "\r\n" : "\n";
    }
    return file + "END\n";
}

TEST_F(SetInputTest, NoInputFileMakesAWriteLandOutsideItsField) {
    std::mt19937 random(930);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        UseTerminal("");
        UseFile(GarbageFile(random));
        const PageBytes before[2] = {Page(0), Page(1)};
        View().OnSetParameters();
        // Every value reached the terminal as a byte: no write was refused.
        EXPECT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1}));
        const PageBytes after[2] = {Page(0), Page(1)};
        for (int page = 0; page < 2; ++page)
            for (int offset = 0; offset < 256; ++offset) {
                if (before[page][offset] == after[page][offset]) continue;
                const bool inField = std::any_of(
                    ParameterTable().begin(), ParameterTable().end(), [&](const ParameterRow& r) {
                        return r.page == page && offset >= r.offset && offset < r.offset + r.width;
                    });
                EXPECT_TRUE(inField) << "page " << page << " offset " << offset;
            }
        for (const ParameterRow& row : ParameterTable()) {
            if (row.encoding == Encoding::kByte && row.range) {
                EXPECT_LE(after[0][row.offset], row.range->max) << row.key;
            }
            if (row.encoding == Encoding::kFunctionKeyText) {
                EXPECT_LE(after[1][row.offset], 15) << row.key;
            }
        }
        EXPECT_LE(after[0][17] * 256 + after[0][18], 9999);
    }
}

// Files that are no parameter files: refused before any link call of the run, with the
// reason named, and nothing written to the terminal.
TEST_F(SetInputTest, WhatIsNoParameterFileIsRefusedBeforeTheTerminalIsTouched) {
    const std::string huge = dir.File("huge.pcg");
    WriteFile(huge, "");
    std::filesystem::resize_file(huge, 100u << 20);  // sparse: nothing is written
    const std::string justTooBig = dir.File("big.pcg");
    WriteFile(justTooBig, std::string(kMaxParameterFileSize + 1, '\n'));
#ifndef _WIN32
    mkfifo(dir.File("pipe.pcg").c_str(), 0600);
#endif
    const std::pair<std::string, std::string> cases[] = {
        {huge, "Not a parameter file: larger than 1 MiB"},
        {justTooBig, "Not a parameter file: larger than 1 MiB"},
#ifndef _WIN32  // Windows devices (NUL, COM1) have no file status to tell them by
        {"/dev/zero", "Not a parameter file: not a regular file"},
        {dir.File("pipe.pcg"), "Not a parameter file: not a regular file"},
#endif
        {dir.Path().string(), "Not a parameter file: not a regular file"},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        UseTerminal("");
        host = FakeHost{};
        state.document.m_strFilePath = path;
        ClearCalls();
        EXPECT_EQ(OnSetParameters(View().Context()).end, SetRunEnd::kPortUntouched);
        EXPECT_EQ(host.log, (Log{{"Cannot open file for reading!", 0}, {reason, 0}}));
        EXPECT_EQ(Calls(), Strings{});
        EXPECT_EQ(state.rawDump, 0);
    }
}

TEST_F(SetInputTest, BinaryBytesNulsAndCarriageReturnsAreReadSafely) {
    struct Case {
        const char* name;
        std::string file;
        std::string heading;  // page 1, offsets 0 to 19, afterwards
        int sleep;            // page 0, offset 5, afterwards
    };
    const std::vector<Case> cases = {
        {"CR only", "HEADING:CR FILE\rSLEEP:45\rEND\r", "CR FILE" + std::string(13, ' '), 45},
        {"NULs in values", std::string("HEADING:A\0B\nSLEEP:\0 45\nEND\n", 26),
         std::string("A\0B", 3) + std::string(17, ' '), 99},  // no digits first: 0, replaced
        {"binary before END", "\xFF\xFE\x01:\x80\x02\nSLEEP:7\n\x1A\x00END\nEND\nSLEEP:9\n",
         "VK930 HAND TERMINAL ", 7},
        {"mixed line ends", "SLEEP:6\r\nHEADING:MIX\rEND\n", "MIX" + std::string(17, ' '), 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseTerminal("");
        host = FakeHost{};
        UseFile(c.file);
        View().OnSet();
        EXPECT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1}));
        EXPECT_EQ(PageText(1, 0, 20), c.heading);
        EXPECT_EQ(Page(0)[5], c.sleep);
    }
}

TEST_P(SetTest, LineFeedAndCarriageReturnLineFeedFilesAreReadAlike) {
    const std::string lines[] = {"HEADING:A:B ", "F2TXT:Q", "F2SEND:1", "WAIT_TIME:3", "END"};
    Strings calls[2];
    for (int crlf = 0; crlf < 2; ++crlf) {
        UseTerminal("");
        ClearCalls();
        std::string text;
        for (const std::string& line : lines) text += line + (crlf ? "\r\n" : "\n");
        UseFile(text);
        View().OnSetParameters();
        calls[crlf] = Calls();
    }
    EXPECT_EQ(calls[0], calls[1]);
    EXPECT_EQ(PageText(1, 0, 5), "A:B  ");
    EXPECT_EQ(PageText(1, 36, 3), "\x02Q\r");
}

TEST_P(SetTest, EmptyFileStillGoesThroughTheFunctionKeysAndResets) {
    UseTerminal("");
    UseFile("");
    const PageBytes before = Page(1);
    View().OnSetParameters();
    EXPECT_EQ(host.log, Join({kRunStart, kFunctionKeys, FKeyLines(), kDone}));
    EXPECT_EQ(Page(1), before);
    EXPECT_EQ(ResetCount(), 1);
}

TEST_P(SetTest, WithoutADocumentTheRunAsksForTheFileAndMakesItTheDocument) {
    UseTerminal("");
    WriteFile(Path(), "VOLUME:1\nEND\n");
    host.fileAnswers.push_back({true, Path()});
    View().OnSetParameters();
    ASSERT_EQ(host.fileRequests.size(), 1u);
    EXPECT_FALSE(host.fileRequests[0].save);
    EXPECT_EQ(host.fileRequests[0].defaultExtension, "pcg");
    EXPECT_EQ(host.fileRequests[0].initialName, "*.pcg");
    EXPECT_EQ(host.fileRequests[0].filterName, "");
    EXPECT_EQ(state.document.m_strFilePath, Path());
    EXPECT_EQ(host.title, Path());
    EXPECT_EQ(host.texts[id::kFilePath], Path());
    EXPECT_EQ(Page(0)[16], 1);
}

struct SetFailureCase {
    const char* name;
    const char* terminal;  // sim options; "none": nothing answers the port
    bool button;           // the "Set" button, else the hidden "&Set..."
    const char* file;      // nullptr: no document (the dialog is cancelled); "-": a missing file
    Log log;
    Strings calls;
    Strings tail;  // the last events: closing and beeping in order
};

TEST_P(SetTest, EveryFailureReportsClosesAndBeepsAsTheTableSays) {
    const std::string lines = "EXTRAID:1\nLEDONOFF:0\nVOL_FREQ:2\nDOT_COMMA:1\nWAIT_TIME:3\nEND\n";
    const Log fourLines = Echo({"EXTRAID:1", "LEDONOFF:0", "VOL_FREQ:2", "DOT_COMMA:1"});
    const Strings withButton = kButtonCalls;
    auto after = [](Strings first, Strings more) {
        first.insert(first.end(), more.begin(), more.end());
        return first;
    };
    const std::vector<SetFailureCase> cases = {
        {"button: port unavailable",
         "none",
         true,
         "",
         {{"COM1... not available!", 0}},
         {"Connect(1,19200)=0"},
         {"log 0 COM1... not available!", "beep"}},
        {"button: no answer",
         "absent",
         true,
         "",
         Join({Log(kButtonStart.begin(), kButtonStart.begin() + 2),
               {{"Connection Failure", 0}, {"Cannot Read Info from COM1", 0}}}),
         {"Connect(1,19200)=1", "ReadInfo()=0", "Connect(1,0)=0"},
         {"link Connect(1,0)=0", "beep"}},
        {"button: other device",
         "type=5",
         true,
         "",
         Join({Log(kButtonStart.begin(), kButtonStart.begin() + 3),
               {{"Connection Failure", 0}, {"Cannot Read device from COM1", 0}}}),
         {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=5", "Connect(1,0)=0"},
         {"link Connect(1,0)=0", "beep"}},
        {"button: page 0",
         "fail=page0",
         true,
         "",
         Join({Log(kButtonStart.begin(), kButtonStart.begin() + 4), {{"Connection Failure", 0}}}),
         {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6", "ReadPage0(0,255)=0",
          "Connect(1,0)=0"},
         {"link Connect(1,0)=0", "beep"}},
        {"button: page 1",
         "fail=page1",
         true,
         "",
         Join({kButtonStart, {{"Connection Failure", 0}}}),
         {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6", "ReadPage0(0,255)=1",
          "ReadPage1(0,255)=0", "Connect(1,0)=0"},
         {"log 0 Connection Failure", "link Connect(1,0)=0"}},
        {"button: dialog cancelled",
         "",
         true,
         nullptr,
         kButtonStart,
         after(withButton, {"Connect(1,0)=0"}),
         {"dialog file", "link Connect(1,0)=0"}},
        {"button: file cannot be opened",
         "",
         true,
         "-",
         Join({kButtonStart, {{"Cannot open file for reading!", 0}}}),
         after(withButton, {"Connect(1,0)=0"}),
         {"log 0 Cannot open file for reading!", "link Connect(1,0)=0"}},
        {"run: port unavailable",
         "none",
         false,
         "",
         {{"Cannot open COM port 1", 0}},
         {"Connect(1,19200)=0"},
         {"log 0 Cannot open COM port 1", "beep"}},
        {"run: no answer",
         "absent",
         false,
         "",
         {{"Reading Device type...", 2},
          {"Connection Failure", 0},
          {"Cannot Read Info from COM1", 0}},
         {"Connect(1,19200)=1", "ReadInfo()=0", "Connect(1,0)=0"},
         {"link Connect(1,0)=0", "beep"}},
        {"run: other device",
         "type=5",
         false,
         "",
         {{"Reading Device type...", 2},
          {"Reading Info OK", 2},
          {"Connection Failure", 0},
          {"Cannot Read device from COM1", 0}},
         {"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=5", "Connect(1,0)=0"},
         {"beep", "link Connect(1,0)=0"}},
        {"run: fifth write fails",
         "fail=write:5",
         false,
         "",
         Join({kRunStart,
               fourLines,
               Echo({"WAIT_TIME:3"}),
               {{"Communication failure!", 0}, {"Operation cancelled!", 0}}}),
         after(kRunCalls, {"WriteByte(3,1,0)=1", "WriteByte(10,0,0)=1", "WriteByte(13,2,0)=1",
                           "WriteByte(20,1,0)=1", "WriteByte(22,3,0)=-1", "Connect(1,0)=0"}),
         {"beep", "link Connect(1,0)=0"}},
        {"button: reset not confirmed",
         "fail=reset",
         true,
         "",
         Join({kButtonStart,
               kRunStart,
               fourLines,
               Echo({"WAIT_TIME:3", "END"}),
               kFunctionKeys,
               FKeyLines(),
               {{"Communication failure!", 0}, {"Operation cancelled!", 0}}}),
         after(after(withButton, kRunCalls),
               {"WriteByte(3,1,0)=1", "WriteByte(10,0,0)=1", "WriteByte(13,2,0)=1",
                "WriteByte(20,1,0)=1", "WriteByte(22,3,0)=1", "ResetDevice()", "Connect(1,0)=0"}),
         {"beep", "link Connect(1,0)=0"}},
        {"run: function key write fails",
         "fail=text:1",
         false,
         "F1TXT:A\n",
         Join({kRunStart,
               Echo({"F1TXT:A"}),
               kFunctionKeys,
               FKeyLines(0, 0),
               {{"Communication failure!", 0}, {"Operation cancelled!", 0}}}),
         after(kRunCalls, {"WriteByte(20,1,1)=1", "WriteText(21,1,\"A\")=0", "Connect(1,0)=0"}),
         {"log 0 Operation cancelled!", "link Connect(1,0)=0"}},
    };
    for (const SetFailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        host = FakeHost{};
        state = AppState{};
        state.rawDump = 1;
        if (std::string(c.terminal) == "none")
            UseNoTerminal();
        else
            UseTerminal(c.terminal);
        ClearCalls();
        if (c.file && std::string(c.file) == "-")
            state.document.m_strFilePath = dir.File("missing.pcg");
        else if (c.file)
            UseFile(*c.file ? c.file : lines);
        if (c.button)
            View().OnSet();
        else
            View().OnSetParameters();

        EXPECT_EQ(host.log, c.log);
        EXPECT_EQ(Calls(), c.calls);
        ASSERT_GE(host.events.size(), c.tail.size());
        EXPECT_EQ(Strings(host.events.end() - c.tail.size(), host.events.end()), c.tail);
        EXPECT_EQ(host.beeps, host.Count("beep"));
        EXPECT_LE(host.beeps, 1);
        // The flag is cleared around every run; a button that fails before the run leaves it.
        const bool runReached = !c.button || std::none_of(c.log.begin(), c.log.end(), [](auto& e) {
            return e.text == "Connection Failure" || e.text.ends_with("not available!");
        });
        EXPECT_EQ(state.rawDump, runReached ? 0 : 1);
        if (std::string(c.terminal).empty()) {
            EXPECT_EQ(ResetCount(), 0);
        }
    }
}

TEST_P(SetTest, FifthLineFailureKeepsTheFirstFourValues) {
    UseTerminal("fail=write:5");
    UseFile("EXTRAID:1\nLEDONOFF:0\nVOL_FREQ:2\nDOT_COMMA:1\nWAIT_TIME:3\nF1TXT:Q\nEND\n");
    View().OnSet();
    const PageBytes p = Page(0);
    EXPECT_EQ(p[3], 1);
    EXPECT_EQ(p[10], 0);
    EXPECT_EQ(p[13], 2);
    EXPECT_EQ(p[20], 1);
    EXPECT_EQ(p[22], 5);        // unchanged
    EXPECT_EQ(Page(1)[20], 4);  // no function keys written
    EXPECT_EQ(ResetCount(), 0);
}

TEST_P(SetTest, WithTheRawDumpFlagSetTheHiddenButtonSkipsSystemBytesResetAndClose) {
    UseTerminal("");
    UseFile("SYSTEM:0,200,9\nHEADING:X\nEND\n");
    state.rawDump = 1;
    EXPECT_EQ(OnSetParameters(View().Context()).end, SetRunEnd::kPortHandled);
    EXPECT_EQ(Calls(), (Strings{"Connect(1,19200)=1", "ReadInfo()=1", "GetDeviceType()=6",
                                "WriteText(0,1,\"X                   \")=1"}));
    EXPECT_EQ(host.log, Join({kRunStart, Echo({"SYSTEM:0,200,9", "HEADING:X", "END"}),
                              kFunctionKeys, FKeyLines()}));
    EXPECT_EQ(state.rawDump, 1);
    EXPECT_EQ(state.document.m_nFileOpened, 0);
    EXPECT_EQ(ResetCount(), 0);
    EXPECT_EQ(host.clockMs, 300 + 50);
}

TEST_P(SetTest, TheFunctionKeyTableStartsEmptyOnEveryRun) {
    UseTerminal("");
    state.functionKeys[4] = {"STALE", 1};
    UseFile("END\n");
    View().OnSetParameters();
    EXPECT_EQ(Page(1)[84], 4);  // F5 keeps its factory record "CODE"
    EXPECT_EQ(state.functionKeys[4].text, "");
}

INSTANTIATE_TEST_SUITE_P(Links, SetTest, BothLinks(), LinkKindName);

}  // namespace
}  // namespace vk930::test
