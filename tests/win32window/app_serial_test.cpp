// vk930config.exe's application over a Wine COM port against vk930-sim (COM3, linked by
// run_with_sims.sh): Device1 choosing COM3, then the commands from the window's buttons and
// the firmware upload from its menu item, through the simulated terminal's boot loader.
#include <algorithm>

#include "app_fixture.h"
#include "core/forms/dialog_ids.h"

namespace vk930 {
namespace {

TEST_F(Win32AppTest, OverComThreeTheButtonsIdentifySetAndWriteTheCommId) {
    settings_.Put("Device1", REG_SZ, std::string("COM3", 5));
    settings_.Put("AllowEditSno", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
    linkFromSettings_ = true;
    Start();
    EXPECT_EQ(TextOf(id::kLinkControl).rfind("COM1: COM3", 0), 0u) << TextOf(id::kLinkControl);

    Click(id::kReadDeviceInfoButton);
    EXPECT_EQ(TextOf(id::kType), "KD04010003");
    EXPECT_EQ(Log().back(), test::logs::kIdentifyDone);

    const std::string path = dir_.File("sleep.pcg");
    test::WriteFile(path, "SLEEP:45\nVOLUME:2\nEND\n");
    ASSERT_TRUE(app_->OpenDocumentFile(path));
    Click(id::kSetButton);
    EXPECT_EQ(Log().back(), test::logs::kCommandDone);

    const std::string next = TextOf(id::kNextCommIdButton);
    Click(id::kNextCommIdButton);
    EXPECT_EQ(TextOf(id::kCommId), next);  // read back from the terminal
    const std::vector<Entry> log = Log();
    EXPECT_NE(std::find(log.begin(), log.end(), test::logs::kCommIdWritten), log.end());
}

TEST_F(Win32AppTest, OverComThreeTheFirmwareUploadReachesTheBootLoaderAndTheNewVersionAnswers) {
    settings_.Put("Device1", REG_SZ, std::string("COM3", 5));
    linkFromSettings_ = true;
    Start();
    // The boot file is the one shipped beside the program, as the installer puts it.
    StartFirmwareUpload(test::OnDriveZ(std::string(VK930_FIRMWARE_DATA_DIR) + "/hsbt15.a20"));
    bool sawProgress = false;
    WaitForUploadToEnd(&sawProgress);
    const std::vector<Entry> log = Log();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[log.size() - 4], test::logs::kUploadStarted);
    EXPECT_EQ(test::logs::Last(log, 3), test::logs::UploadDone());
    EXPECT_TRUE(sawProgress);

    Click(id::kReadDeviceInfoButton);
    EXPECT_EQ(TextOf(id::kVersion), "1.5");
    EXPECT_EQ(test::logs::Last(Log(), 6), test::logs::Identified());
}

}  // namespace
}  // namespace vk930
