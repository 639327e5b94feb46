// How each command ends, as the value it returns: the class of every failure with its reason,
// warnings that are no failures, and a stop honoured between steps with what it leaves.
#include "core/commands/outcome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "core/commands/command_steps.h"
#include "core/commands/firmware_commands.h"
#include "core/commands/stop_request.h"
#include "core/forms/form_ids.h"
#include "support/link_fixture.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

class OutcomeTest : public InProcessLinkFixture {
  protected:
    void UseFile(const std::string& text) {
        WriteFile(dir.File("p.pcg"), text);
        state.document.m_strFilePath = dir.File("p.pcg");
    }
    // Asks for a stop when the host records `event` (a log line, a sleep, ...).
    void StopAt(const std::string& event) {
        host.onEvent = [this, event](const std::string& e) {
            if (e == event) state.stop.Request();
        };
    }
    std::vector<std::string> Folder() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            names.push_back(entry.path().filename().string());
        return names;
    }
    TempDir dir;
};

TEST_F(OutcomeTest, IdentificationClassesEachFailure) {
    const std::vector<std::pair<std::string, OutcomeClass>> cases = {
        {"", OutcomeClass::kSuccess},
        {"absent", OutcomeClass::kNoTerminal},
        {"type=5", OutcomeClass::kOtherDevice},
        {"fail=page0", OutcomeClass::kCommunication},
    };
    for (const auto& [options, expected] : cases) {
        UseTerminal(options);
        const Outcome outcome = View().OnReadDeviceInfo();
        EXPECT_EQ(outcome.outcomeClass, expected) << options << ": " << outcome.detail;
        EXPECT_EQ(outcome.detail.empty(), expected == OutcomeClass::kSuccess) << options;
    }
    UseNoTerminal();
    const Outcome none = View().OnReadDeviceInfo();
    EXPECT_EQ(none.outcomeClass, OutcomeClass::kPortNotOpened);
    EXPECT_EQ(none.detail, "COM1 did not open");
}

TEST_F(OutcomeTest, CommIdWriteAndResetFailuresAreCommunication) {
    UseTerminal("fail=write:2");
    View().OnCommIdEdited("300");
    EXPECT_EQ(View().OnSetCommId().outcomeClass, OutcomeClass::kCommunication);
    UseTerminal("fail=reset");
    const Outcome reset = View().OnSetCommId();
    EXPECT_EQ(reset.outcomeClass, OutcomeClass::kCommunication);
    EXPECT_EQ(reset.detail, "the reset was not confirmed");
    UseTerminal("");
    EXPECT_TRUE(View().OnNextCommId().ok());
}

TEST_F(OutcomeTest, GetKeepsTheReasonAFileFailed) {
    UseTerminal("");
    host.getParamsAnswers.push_back({true, 0, dir.File("no/such/folder.pcg")});
    const Outcome missing = View().OnGetParameters();
    EXPECT_EQ(missing.outcomeClass, OutcomeClass::kFile);
    EXPECT_NE(missing.detail.find("No such file or directory"), std::string::npos)
        << missing.detail;
    EXPECT_EQ(host.log.back().text, "Cannot open file");

    std::filesystem::create_directory(dir.File("folder.pcg"));
    host.getParamsAnswers.push_back({true, 0, dir.File("folder.pcg")});
    const Outcome folder = View().OnGetParameters();
    EXPECT_EQ(folder.outcomeClass, OutcomeClass::kFile);
    EXPECT_NE(folder.detail.find("is a folder"), std::string::npos) << folder.detail;

    EXPECT_EQ(View().OnGet().outcomeClass, OutcomeClass::kCancelled);  // no answer: cancel
    EXPECT_EQ(host.severities.back(), EntrySeverity::kCancellation);
    host.getParamsAnswers.push_back({true, 0, "a.pc"});
    EXPECT_EQ(View().OnGetParameters().outcomeClass, OutcomeClass::kRefused);
    host.getParamsAnswers.push_back({true, -1, dir.File("x.pcg")});
    EXPECT_EQ(View().OnGetParameters().outcomeClass, OutcomeClass::kRefused);
}

TEST_F(OutcomeTest, SetKeepsTheFileReasonAndWarningsAreNoFailures) {
    UseTerminal("");
    state.document.m_strFilePath = dir.File("missing.pcg");
    const Outcome missing = View().OnSet();
    EXPECT_EQ(missing.outcomeClass, OutcomeClass::kFile);
    EXPECT_EQ(missing.detail, "'" + dir.File("missing.pcg") + "': No such file or directory");

    UseFile("SLEEP:200\r\nSYSTEM:9,9\r\nF1TXT:ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\nEND\r\n");
    host.log.clear();
    host.severities.clear();
    const Outcome warned = View().OnSet();
    EXPECT_TRUE(warned.ok()) << warned.detail;
    int warnings = 0;
    for (std::size_t i = 0; i < host.log.size(); ++i) {
        if (host.severities[i] != EntrySeverity::kWarning) continue;
        ++warnings;
        EXPECT_EQ(host.log[i].kind, kIconFailure) << "a warning keeps the failure icon";
        EXPECT_EQ(host.log[i].text.rfind("Warning!", 0), 0u) << host.log[i].text;
    }
    EXPECT_EQ(warnings, 3);
    for (std::size_t i = 0; i < host.log.size(); ++i)
        EXPECT_NE(host.severities[i], EntrySeverity::kFailure) << host.log[i].text;
    // The opened connection has the green tick, yet is only progress.
    EXPECT_EQ(host.log.front().kind, kIconSuccess);
    EXPECT_EQ(host.severities.front(), EntrySeverity::kProgress);
    EXPECT_EQ(host.severities.back(), EntrySeverity::kSuccess);

    UseTerminal("fail=write:1");
    UseFile("SLEEP:20\r\nEND\r\n");
    const Outcome failed = View().OnSet();
    EXPECT_EQ(failed.outcomeClass, OutcomeClass::kCommunication);
    EXPECT_EQ(failed.detail, "the SLEEP line was not written");
}

TEST_F(OutcomeTest, FirmwareCarriesTheFileReasonFromTheLink) {
    bootFiles = {VK930_BOOT_DIR};
    UseTerminal("");
    const std::string bad = dir.File("hsbt16.a20");
    WriteFile(bad, ":0100000044BC\n:00000001FF\n");
    host.firmwareAnswers.push_back({true, bad});
    ASSERT_TRUE(View().OnFirmwareUpdate().ok());
    const std::optional<Outcome> upload = View().OnTimer();
    ASSERT_TRUE(upload.has_value());
    EXPECT_EQ(upload->outcomeClass, OutcomeClass::kFile);
    EXPECT_EQ(upload->detail, bad + ": line 1: bad checksum BC, expected BB");
    EXPECT_FALSE(View().OnTimer().has_value()) << "no upload pending any more";
    EXPECT_EQ(View().OnFirmwareUpdate().outcomeClass, OutcomeClass::kCancelled);
}

TEST_F(OutcomeTest, UploadStatusesMapToClasses) {
    EXPECT_TRUE(UploadOutcome(kUploadSucceeded, "").ok());
    EXPECT_EQ(UploadOutcome(kUploadBootFileBad, "").outcomeClass, OutcomeClass::kFile);
    EXPECT_EQ(UploadOutcome(kUploadNoZero, "").outcomeClass, OutcomeClass::kNoTerminal);
    EXPECT_EQ(UploadOutcome(kUploadNoAA, "").outcomeClass, OutcomeClass::kNoTerminal);
    for (Short status : {5, 6, 7, 8, 0, 9, -1, 11})
        EXPECT_EQ(UploadOutcome(status, "").outcomeClass, OutcomeClass::kCommunication) << status;
}

// A stop requested before a command starts is honoured at its first stop point, after the
// port opened: the port is released and nothing is written.
TEST_F(OutcomeTest, AStopBeforeTheFirstStepWritesNothing) {
    UseTerminal("");
    UseFile("SLEEP:20\r\nEND\r\n");
    const PageBytes before = Page(0);
    state.stop.Request();
    for (auto run : {&CVK900ConfigView::OnReadDeviceInfo, &CVK900ConfigView::OnSetCommId,
                     &CVK900ConfigView::OnSet}) {
        ClearCalls();
        const std::size_t entries = host.log.size();
        const Outcome outcome = (View().*run)();
        EXPECT_EQ(outcome.outcomeClass, OutcomeClass::kInterrupted);
        EXPECT_EQ(outcome.detail, "nothing was written");
        EXPECT_EQ(host.log.back().text, "Interrupted: nothing was written");
        EXPECT_EQ(host.log.back().kind, kIconFailure);
        EXPECT_EQ(host.severities.back(), EntrySeverity::kCancellation);
        EXPECT_EQ(host.log.size(), entries + 3);  // opened, searching or waiting, interrupted
        EXPECT_EQ(Calls().front(), "Connect(1,19200)=1");
        EXPECT_EQ(Calls().back(), "Connect(1,0)=0");
        EXPECT_EQ(Calls().size(), 2u);
    }
    EXPECT_EQ(Page(0), before);
    EXPECT_TRUE(settings.values.empty()) << "no CommID recorded";
}

TEST_F(OutcomeTest, AStopDuringGetLeavesNoFile) {
    UseTerminal("");
    WriteFile(dir.File("old.pcg"), "OLD\r\n");
    host.getParamsAnswers.push_back({true, 0, dir.File("old.pcg")});
    StopAt("log 2 Reading eeprom Page:1...");
    const Outcome outcome = View().OnGet();
    EXPECT_EQ(outcome.outcomeClass, OutcomeClass::kInterrupted);
    EXPECT_EQ(host.log.back().text, "Interrupted: nothing was written");
    EXPECT_EQ(Calls().back(), "Connect(1,0)=0");
    EXPECT_EQ(ReadFile(dir.File("old.pcg")), "OLD\r\n");
    EXPECT_EQ(Folder(), std::vector<std::string>{"old.pcg"}) << "the temporary file is gone";
    EXPECT_EQ(state.rawDump, 1) << "an unfinished raw dump leaves the flag set";
}

TEST_F(OutcomeTest, AStopBetweenSetLinesLeavesThemPartlyProgrammed) {
    UseTerminal("");
    UseFile("SLEEP:20\r\nVOLUME:3\r\nEND\r\n");
    StopAt("log 2 SLEEP:20");
    const Outcome outcome = View().OnSet();
    EXPECT_EQ(outcome.outcomeClass, OutcomeClass::kInterrupted);
    EXPECT_EQ(outcome.detail, "the terminal is partly programmed");
    EXPECT_EQ(host.log.back().text, "Interrupted: the terminal is partly programmed");
    EXPECT_EQ(Page(0)[5], 20) << "the line in progress completed";
    EXPECT_EQ(host.Count("log 2 VOLUME:3"), 0);
    EXPECT_EQ(ResetCount(), 0);
    EXPECT_EQ(Calls().back(), "Connect(1,0)=0");
}

TEST_F(OutcomeTest, AStopAfterTheCommIdWriteStillRecordsIt) {
    UseTerminal("");
    View().OnCommIdEdited("300");
    StopAt("sleep 4000");
    const Outcome outcome = View().OnSetCommId();
    EXPECT_EQ(outcome.outcomeClass, OutcomeClass::kInterrupted);
    EXPECT_EQ(host.log.back().text, "Interrupted: the terminal is partly programmed");
    EXPECT_EQ(Page(0)[2], 44);
    EXPECT_EQ(settings.values["commID"], 300) << "the next ID offered is never given out twice";
    EXPECT_EQ(Calls().back(), "Connect(1,0)=0");
}

TEST_F(OutcomeTest, AStopBeforeTheUploadLeavesTheBootLoaderWaiting) {
    bootFiles = {VK930_BOOT_DIR};
    UseTerminal("");
    host.firmwareAnswers.push_back({true, VK930_FIRMWARE_DATA_DIR "/hsbt15.a20"});
    ASSERT_TRUE(View().OnFirmwareUpdate().ok());
    state.stop.Request();
    const std::optional<Outcome> upload = View().OnTimer();
    ASSERT_TRUE(upload.has_value());
    EXPECT_EQ(upload->outcomeClass, OutcomeClass::kInterrupted);
    EXPECT_EQ(host.log.back().text,
              "Interrupted: the terminal is still in its boot loader: restart the upload");
    EXPECT_EQ(state.uploadPending, 0);
    EXPECT_EQ(Calls().back(), "Connect(1,0)=0");
    for (const std::string& call : Calls())
        EXPECT_EQ(call.find("UploadFirmware"), std::string::npos) << call;
}

}  // namespace
}  // namespace vk930::test

namespace vk930::test {
namespace {

// A wait of the front ends: a stop asked from another thread ends it (were it not so, this
// test would sit out the hour and fail on ctest's timeout).
TEST(SleepUnlessStopped, AStopFromAnotherThreadEndsAnHoursWait) {
    StopRequest stop;
    std::thread stopper([&] {
        SleepUnlessStopped(20, nullptr);  // no stop to watch: the whole 20 ms
        stop.Request();
    });
    SleepUnlessStopped(3'600'000, &stop);
    stopper.join();
    EXPECT_TRUE(stop.Requested());
    SleepUnlessStopped(3'600'000, &stop);  // asked before: returns at once
}

}  // namespace
}  // namespace vk930::test
