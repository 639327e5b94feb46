#include <gtest/gtest.h>

#include "core/commands/config_view.h"
#include "core/commands/firmware_commands.h"
#include "core/forms/form_ids.h"
#include "core/link/tracing_link.h"
#include "support/command_fixture.h"
#include "support/fake_host.h"
#include "support/memory_settings.h"

namespace vk930::test {
namespace {

const std::string kFirmware = VK930_FIRMWARE_DATA_DIR "/hsbt15.a20";

// A link whose upload answers a chosen status and notes the working directory it ran in.
class StatusLink : public CLinkCtrl {
  public:
    explicit StatusLink(FakeHost& host) : host_(host) {}
    Short status = kUploadSucceeded;
    std::vector<std::string> uploadDirs;

    bool Connect(Short port, Short baud) override { return port > 0 && baud != kBaudClose; }
    Short ReadInfo() override { return 0; }
    Short GetDeviceType() override { return -1; }
    std::string GetVersionText() override { return {}; }
    std::string GetCommIdText() override { return {}; }
    bool ReadPage0(Short, Short) override { return false; }
    bool ReadPage1(Short, Short) override { return false; }
    Short GetByte(Short, Short) override { return 0; }
    std::string GetText(Short, Short, Short) override { return {}; }
    Short WriteByte(Short, Short, Short) override { return kWriteByteFailed; }
    bool WriteText(Short, Short, const std::string&) override { return false; }
    void ResetDevice() override {}
    Short UploadFirmware(const std::string&) override {
        uploadDirs.push_back(host_.currentDir);
        return status;
    }

  private:
    FakeHost& host_;
};

class FirmwareCommand : public ::testing::Test {
  protected:
    FirmwareCommand() {
        auto inner = std::make_unique<StatusLink>(host);
        statusLink = inner.get();
        link = std::make_unique<TracingLink>(std::move(inner), [this](const std::string& line) {
            host.events.push_back("link " + line);
        });
        view = std::make_unique<CVK900ConfigView>(host, *link, settings, state);
        view->OnInitialUpdate();
        view->OnTimer();
        host.events.clear();
        host.log.clear();
    }
    // Confirms the dialog with `file` and lets the form timer expire.
    void Upload(const std::string& file) {
        host.firmwareAnswers.push_back({true, file});
        view->OnFirmwareUpdate();
        view->OnTimer();
    }

    FakeHost host;
    MemorySettings settings;
    AppState state;
    StatusLink* statusLink = nullptr;
    std::unique_ptr<CLinkCtrl> link;
    std::unique_ptr<CVK900ConfigView> view;
};

TEST_F(FirmwareCommand, CancelLogsOneEntryAndBeepsWithoutTouchingTheLink) {
    view->OnFirmwareUpdate();
    const std::vector<std::string> events = {"dialog firmware",
                                             "log 0 Operation canceled by the user!", "beep"};
    EXPECT_EQ(host.events, events);
    EXPECT_EQ(state.uploadPending, 0);
    EXPECT_TRUE(state.firmwareFile.empty());
}

TEST_F(FirmwareCommand, ConfirmingPausesOpensThePortAt4800AndDefersTheUpload) {
    state.comPort = 3;
    host.currentDir = "/home/tech/firmware";  // where the file dialog left it
    host.firmwareAnswers.push_back({true, "/fw/hsbt15.a20"});
    view->OnFirmwareUpdate();
    const std::vector<std::string> events = {
        "dialog firmware",    "sleep 500",    "link Connect(3,4800)=1",
        "log 2 Uploading...", "cd /work/dir", "timer 100",
    };
    EXPECT_EQ(host.events, events);
    EXPECT_EQ(state.firmwareFile, "/fw/hsbt15.a20");
    EXPECT_EQ(state.uploadPending, 1);

    host.events.clear();
    view->OnTimer();
    const std::vector<std::string> run = {
        "timer stop",
        "link UploadFirmware(\"/fw/hsbt15.a20\")=10",
        "link Connect(0,4800)=0",
        "log 1 UPLOADING DONE",
        "log 2 REMOVE BOOT CABLE FROM DEVICE",
        "log 2 REMOVE BATTERIES AND PUT THEM BACK AGAIN",
    };
    EXPECT_EQ(host.events, run);
    EXPECT_EQ(statusLink->uploadDirs, std::vector<std::string>{"/work/dir"});
    EXPECT_EQ(state.uploadPending, 0);
    EXPECT_EQ(state.firmwareFile, "/fw/hsbt15.a20") << "the file stays after the run";
}

TEST_F(FirmwareCommand, EveryStatusLogsItsEntriesInOrder) {
    const std::vector<std::pair<Short, std::vector<LogEntry>>> cases = {
        {1, {{"Can't open boot file", 0}}},
        {2, {{"Can't open FW file", 0}}},
        {3, {{"No response from device: Waiting 00", 0}}},
        {4, {{"No response from device: Waiting AA", 0}}},
        {5, {{"Boot load error: <first>", 0}}},
        {6, {{"Boot load error: <second>", 0}}},
        {7, {{"Boot load error: <third>", 0}}},
        {8, {{"Flash verification fail!", 0}}},
        {10,
         {{"UPLOADING DONE", 1},
          {"REMOVE BOOT CABLE FROM DEVICE", 2},
          {"REMOVE BATTERIES AND PUT THEM BACK AGAIN", 2}}},
        {0, {{"", 0}}},
        {9, {{"", 0}}},
        {11, {{"", 0}}},
        {-1, {{"", 0}}},
        {32767, {{"", 0}}},
    };
    for (const auto& [status, entries] : cases) {
        host.log.clear();
        statusLink->status = status;
        Upload("/fw/hsbt15.a20");
        std::vector<LogEntry> expected = {{"Uploading...", 2}};
        expected.insert(expected.end(), entries.begin(), entries.end());
        EXPECT_EQ(host.log, expected) << "status " << status;
        EXPECT_EQ(host.beeps, 0) << "an upload's failures are only logged";
    }
}

TEST_F(FirmwareCommand, TheTimerThatStartsTheUploadAlsoRefreshesTheFileField) {
    state.document.m_nFileOpened = 1;
    state.document.m_strFilePath = "/params/shop.pcg";
    Upload("/fw/hsbt15.a20");
    const auto at = [&](const std::string& event) {
        return std::find(host.events.begin(), host.events.end(), event) - host.events.begin();
    };
    const auto stop = at("timer stop");
    const auto field = at("text 1025 /params/shop.pcg");
    const auto upload = at("link UploadFirmware(\"/fw/hsbt15.a20\")=10");
    EXPECT_LT(stop, field);
    EXPECT_LT(field, upload);
    EXPECT_LT(upload, static_cast<long>(host.events.size()));
    EXPECT_EQ(host.Count("timer stop"), 1) << "one expiry does both";
}

TEST_F(FirmwareCommand, ANewOrOpenInBetweenDropsThePendingRequest) {
    host.firmwareAnswers.push_back({true, "/fw/hsbt15.a20"});
    view->OnFirmwareUpdate();
    view->OnInitialUpdate();  // the document was renewed before the timer expired
    view->OnTimer();
    EXPECT_EQ(host.Count("link UploadFirmware"), 0);
    EXPECT_EQ(state.uploadPending, 0);
    EXPECT_EQ(host.LogTexts(), std::vector<std::string>{"Uploading..."});
}

// The same command on the simulated terminal.
class FirmwareOnTerminal : public CommandFixture {
  protected:
    void SetUp() override { bootFiles = {VK930_BOOT_DIR}; }
    void Upload(const std::string& file) {
        View().OnInitialUpdate();
        View().OnTimer();
        ClearCalls();
        host.log.clear();
        host.firmwareAnswers.push_back({true, file});
        View().OnFirmwareUpdate();
        View().OnTimer();
    }
};

TEST_F(FirmwareOnTerminal, Hsbt15UploadsAndIdentificationShowsVersion15) {
    UseTerminal("");
    Upload(kFirmware);
    const std::vector<LogEntry> log = {{"Uploading...", 2},
                                       {"UPLOADING DONE", 1},
                                       {"REMOVE BOOT CABLE FROM DEVICE", 2},
                                       {"REMOVE BATTERIES AND PUT THEM BACK AGAIN", 2}};
    EXPECT_EQ(host.log, log);
    const std::vector<std::string> calls = {
        "Connect(1,4800)=1", "UploadFirmware(\"" + kFirmware + "\")=10", "Connect(0,4800)=0"};
    EXPECT_EQ(Calls(), calls);
    View().OnReadDeviceInfo();
    EXPECT_EQ(host.texts[id::kVersion], "1.5");
}

TEST_F(FirmwareOnTerminal, StartingWithoutAFileRunsTheWholeSequenceAndReportsTheFile) {
    UseTerminal("");
    Upload("");
    EXPECT_EQ(host.log, (std::vector<LogEntry>{{"Uploading...", 2}, {"Can't open FW file", 0}}));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"Connect(1,4800)=1", "UploadFirmware(\"\")=2",
                                                 "Connect(0,4800)=0"}));
}

TEST_F(FirmwareOnTerminal, ABootLoaderFaultIsLoggedAndTheVersionStays) {
    UseTerminal("boot=stage2");
    Upload(kFirmware);
    EXPECT_EQ(host.log,
              (std::vector<LogEntry>{{"Uploading...", 2}, {"Boot load error: <second>", 0}}));
    View().OnReadDeviceInfo();
    EXPECT_EQ(host.texts[id::kVersion], "1.4");
}

}  // namespace
}  // namespace vk930::test
