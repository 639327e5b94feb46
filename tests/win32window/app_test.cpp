// vk930config.exe's application in process, on the in-process simulated terminal: each
// command from its button on the job thread, with the window's log, fields and caption as the
// Qt window shows them; input while a job runs dropped; a close during a job asked once.
#include <algorithm>
#include <utility>
#include <vector>

#include "app_fixture.h"
#include "core/forms/dialog_ids.h"
#include "window_test_support.h"

namespace vk930 {
namespace {

TEST_F(Win32AppTest, StartShowsAnUntitledDocumentAndThePortsReach) {
    Start();
    EXPECT_EQ(test::WindowText(app_->Frame().Window()), "VK930Config - Untitled");
    EXPECT_EQ(TextOf(id::kLinkControl), "COM1: simulated terminal");
    EXPECT_FALSE(app_->CommandRunning());
}

TEST_F(Win32AppTest, ReadDeviceInfoFillsTheFieldsAndTheLogFromTheJobThread) {
    Start();
    Click(id::kReadDeviceInfoButton);
    EXPECT_EQ(TextOf(id::kType), "KD04010003");
    EXPECT_EQ(TextOf(id::kVersion), "1.4");
    EXPECT_EQ(TextOf(id::kScanner), "SE923");
    EXPECT_EQ(TextOf(id::kCommId), "1");
    EXPECT_EQ(Log(), test::logs::Identified());
    // The job ended: the buttons take input again.
    EXPECT_TRUE(IsWindowEnabled(Item(id::kReadDeviceInfoButton)));

    app_.reset();
    Start("sim?absent");
    Click(id::kReadDeviceInfoButton);
    EXPECT_EQ(Log(), test::logs::NoTerminal());
}

TEST_F(Win32AppTest, AClickWhileAJobRunsIsDroppedAndTheButtonsAreGreyed) {
    Start();
    ClickOnly(id::kReadDeviceInfoButton);
    ASSERT_TRUE(app_->CommandRunning());
    EXPECT_FALSE(IsWindowEnabled(Item(id::kReadDeviceInfoButton)));
    EXPECT_TRUE(IsWindowEnabled(Item(id::kCloseButton)));  // leaving still asks
    ClickOnly(id::kReadDeviceInfoButton);                  // dropped, never run later
    app_->WaitForJob();
    test::PumpMessages();
    const std::vector<Entry> log = Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), test::logs::kIdentifyDone), 1);
    EXPECT_FALSE(app_->CommandRunning());
}

TEST_F(Win32AppTest, GetSavesTheFileChosenInItsDialogAndOpensIt) {
    Start();
    const std::string path = dir_.File("saved.pcg");
    fileAnswer_ = {true, path};
    test::DialogAnswerer answerer("Get Parameters from VK930 device", [](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id::kGetParamsSaveButton, BN_CLICKED), 0);
        test::PressButton(dialog, id::kOk);
    });
    Click(id::kGetButton);
    EXPECT_TRUE(answerer.Found());
    const std::string saved = test::ReadFile(path);
    EXPECT_EQ(saved.substr(0, 14), "SYSTEM:0,0,0\r\n");
    EXPECT_EQ(Log().back(), test::logs::kCommandDone);
    EXPECT_EQ(TextOf(id::kFilePath), path);
    EXPECT_EQ(test::WindowText(app_->Frame().Window()), "VK930Config - " + path);
}

TEST_F(Win32AppTest, SetProgramsTheOpenedDocumentAndShowsItsProgress) {
    Start();
    const std::string path = dir_.File("sleep.pcg");
    test::WriteFile(path, "SLEEP:45\nVOLUME:2\nEND\n");
    ASSERT_TRUE(app_->OpenDocumentFile(path));
    EXPECT_EQ(test::WindowText(app_->Frame().Window()), "VK930Config - sleep.pcg");
    Click(id::kSetButton);
    EXPECT_EQ(Log().back(), test::logs::kCommandDone);
    EXPECT_EQ(app_->State().document.m_nFileOpened, 0);
    // The job's progress went from the link control's place when it ended.
    EXPECT_EQ(TextOf(id::kLinkControl), "COM1: simulated terminal");
}

TEST_F(Win32AppTest, CloseDuringAJobAsksOnceAndClosesWhenItEnds) {
    Start();
    int asked = 0;
    test::DialogAnswerer answerer("VK930Config", [&](HWND box) {
        ++asked;
        test::PressButton(box, IDYES);
    });
    ClickOnly(id::kReadDeviceInfoButton);
    ASSERT_TRUE(app_->CommandRunning());
    PostMessageW(app_->Frame().Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return app_->Frame().Window() == nullptr; }));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(app_->CommandRunning());
}

TEST_F(Win32AppTest, FirmwareUpdateUploadsWhenTheFormTimerExpiresAndShowsItsProgress) {
    // The boot file is looked for in the working folder first.
    const std::optional<std::string> before = [] {
        wchar_t folder[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, folder);
        return std::optional<std::string>(Narrow(folder));
    }();
    SetCurrentDirectoryW(Widen(test::OnDriveZ(VK930_BOOT_DIR)).c_str());
    Start();
    StartFirmwareUpload(test::OnDriveZ(std::string(VK930_FIRMWARE_DATA_DIR) + "/hsbt15.a20"));
    ASSERT_TRUE(test::PumpUntil([&] { return app_->State().uploadPending != 0; }));
    ASSERT_FALSE(Log().empty());
    EXPECT_EQ(Log().back(), test::logs::kUploadStarted);
    // Waiting for the form timer, or already uploading: either counts as running.
    EXPECT_TRUE(app_->CommandRunning());
    bool sawProgress = false;
    WaitForUploadToEnd(&sawProgress);
    const std::vector<Entry> log = Log();
    EXPECT_EQ(test::logs::Last(log, 3), test::logs::UploadDone());
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(TextOf(id::kLinkControl), "COM1: simulated terminal");
    Click(id::kReadDeviceInfoButton);
    EXPECT_EQ(TextOf(id::kVersion), "1.5");
    SetCurrentDirectoryW(Widen(*before).c_str());
}

TEST_F(Win32AppTest, AnOpenedDocumentGoesToTheTopOfTheRecentFiles) {
    Start();
    const std::string path = dir_.File("a.pcg");
    test::WriteFile(path, "SLEEP:45\nEND\n");
    ASSERT_TRUE(app_->OpenDocumentFile(path));
    RegistryRecentFiles stored(recent_.Root(), recent_.Subkey());
    ASSERT_FALSE(stored.RecentFiles().empty());
    EXPECT_EQ(stored.RecentFiles().front(), path);
    // The form timer's duty shows the document's file.
    EXPECT_TRUE(test::PumpUntil([&] { return TextOf(id::kFilePath) == path; }));
}

TEST_F(Win32AppTest, CommIdTypedThenSetAndTheNextOneWrittenIntoTheTerminal) {
    settings_.Put("AllowEditSno", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
    countSleeps_ = true;
    Start();
    EXPECT_EQ(GetWindowLongW(Item(id::kCommId), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(TextOf(id::kCommId), "10000");
    EXPECT_EQ(TextOf(id::kNextCommIdButton), "10001");

    Click(id::kNextCommIdButton);
    EXPECT_EQ(TextOf(id::kCommId), "10001");  // read back from the terminal
    EXPECT_EQ(TextOf(id::kNextCommIdButton), "10002");
    EXPECT_EQ(sleeps_, (std::vector<int>{4000, 300}));
    std::vector<Entry> log = Log();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[3], test::logs::kCommIdWritten);

    // Typed by the user: the offer follows the field.
    SetDlgItemTextW(app_->Frame().Form(), id::kCommId, L"300");
    EXPECT_EQ(TextOf(id::kNextCommIdButton), "301");
    Click(id::kSetCommIdButton);
    EXPECT_EQ(TextOf(id::kCommId), "300");
    log = Log();
    EXPECT_NE(std::find(log.begin(), log.end(), test::logs::kCommIdWritten), log.end());
}

// The next-ID button counts as the Qt window and vk930ctl do: each ID is journalled before it is
// written, and a counter set back behind the window's back is not believed, which a box says.
TEST_F(Win32AppTest, TheNextIdButtonCountsWithTheJournalAndDoesNotBelieveACounterSetBack) {
    const auto dword = [](std::uint32_t value) {
        return std::string(reinterpret_cast<const char*>(&value), 4);
    };
    settings_.Put("AllowEditSno", REG_DWORD, dword(1));
    settings_.Put("commID", REG_DWORD, dword(300));
    countSleeps_ = true;
    Start();
    Click(id::kNextCommIdButton);
    EXPECT_EQ(TextOf(id::kCommId), "301");
    Click(id::kNextCommIdButton);
    EXPECT_EQ(TextOf(id::kCommId), "302") << "the button twice did not give two IDs";
    const std::string journal = test::ReadFile(dir_.File("state") + "/service-log.jsonl");
    EXPECT_NE(journal.find("\"commId\":301,\"state\":\"reserved\""), std::string::npos) << journal;
    EXPECT_NE(journal.find("\"commId\":302,\"state\":\"written\""), std::string::npos) << journal;

    settings_.Put("commID", REG_DWORD, dword(100));  // set back by someone else
    std::string said;
    test::DialogAnswerer answerer("Notice", [&](HWND box) {
        said = test::WindowText(GetDlgItem(box, 0xffff));
        test::PressButton(box, IDOK);
    });
    Click(id::kNextCommIdButton);
    EXPECT_TRUE(answerer.Found()) << "no notice";
    EXPECT_EQ(said,
              "\"commID\" in the settings (100) is below the last ID handed out on this bench "
              "(302): counting on from 302");
    EXPECT_EQ(TextOf(id::kCommId), "303") << "the counter set back was believed";
    for (const Entry& entry : Log())
        EXPECT_EQ(entry.text.find("counting on"), std::string::npos) << "the notice was logged";
}

}  // namespace
}  // namespace vk930
