// The Tools dialogs in the Win32 window, opened from the menu and run against the in-process
// simulated terminal; a helper thread uses each dialog as a person would and reads back what
// its controls show.
#include <string>
#include <vector>

#include "app_fixture.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/tool_ids.h"
#include "window_test_support.h"

namespace vk930 {
namespace {

using Row = std::vector<std::string>;

class ToolsDialogTest : public Win32AppTest {
  protected:
    void OpenTool(int command) {
        SendMessageW(app_->Frame().Window(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
        app_->WaitForJob();
    }
};

TEST_F(ToolsDialogTest, CompareListsTheChangesAndSetNowProgramsThem) {
    const std::string path = dir_.File("shop.pcg");
    test::WriteFile(path, "HEADING:Shop 9\r\nNOSUCHKEY:1\r\nEND\r\n");
    Start(std::nullopt, path);
    Row first;
    std::string file, counts, setNow, again;
    test::DialogAnswerer answerer("Compare with terminal", [&](HWND dialog) {
        file = test::ItemText(dialog, id::kCompareFile);
        test::PressButton(dialog, id::kCompareRun);
        test::WaitFor([&] {
            return test::ItemText(dialog, id::kCompareCounts).find(" to change") !=
                   std::string::npos;
        });
        first = test::ListRow(dialog, id::kCompareList, 0);
        counts = test::ItemText(dialog, id::kCompareCounts);
        test::PressButton(dialog, id::kCompareSetNow);
        test::WaitFor(
            [&] { return test::ItemText(dialog, id::kCompareCounts).rfind("Set now", 0) == 0; });
        setNow = test::ItemText(dialog, id::kCompareCounts);
        test::PressButton(dialog, id::kCompareRun);
        test::WaitFor([&] {
            return test::ItemText(dialog, id::kCompareCounts).find(" to change") !=
                   std::string::npos;
        });
        again = test::ItemText(dialog, id::kCompareCounts);
        test::PressButton(dialog, id::kCancel);
    });
    OpenTool(id::kCmdCompare);
    EXPECT_TRUE(answerer.Found());
    EXPECT_EQ(file, path);
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0], "HEADING");
    EXPECT_EQ(first[2].rfind("\"Shop 9 ", 0), 0u) << first[2];
    EXPECT_EQ(counts, "1 to change, 0 unchanged, 1 ignored lines");
    EXPECT_EQ(setNow.rfind("Set now: done.", 0), 0u) << setNow;
    EXPECT_EQ(again, "0 to change, 1 unchanged, 1 ignored lines");
    EXPECT_FALSE(app_->CommandRunning());
}

TEST_F(ToolsDialogTest, BackupsListTheSetsBackupAndRestoreIt) {
    const std::string path = dir_.File("shop.pcg");
    test::WriteFile(path, "HEADING:Shop 9\r\nEND\r\n");
    Start(std::nullopt, path);
    Click(id::kSetButton);  // its backup
    Row newest;
    std::string status;
    bool restoreBefore = true;
    test::DialogAnswerer answerer("Backups", [&](HWND dialog) {
        newest = test::ListRow(dialog, id::kBackupsList, 0);
        restoreBefore = IsWindowEnabled(GetDlgItem(dialog, id::kBackupsRestore)) != FALSE;
        HWND list = GetDlgItem(dialog, id::kBackupsList);
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        test::WaitFor(
            [&] { return IsWindowEnabled(GetDlgItem(dialog, id::kBackupsRestore)) != FALSE; });
        test::PressButton(dialog, id::kBackupsRestore);
        test::WaitFor(
            [&] { return test::ItemText(dialog, id::kBackupsStatus).rfind("Restore:", 0) == 0; });
        status = test::ItemText(dialog, id::kBackupsStatus);
        test::PressButton(dialog, id::kCancel);
    });
    OpenTool(id::kCmdBackups);
    EXPECT_TRUE(answerer.Found());
    ASSERT_EQ(newest.size(), 4u);
    EXPECT_EQ(newest[1], "COM1");
    EXPECT_EQ(newest[2], "1");
    EXPECT_FALSE(restoreBefore) << "Restore without a chosen backup";
    EXPECT_EQ(status, "Restore: done");
}

TEST_F(ToolsDialogTest, ServiceHistorySaysThatThisWindowKeepsNoRecords) {
    Start();
    test::DialogAnswerer answerer("VK930Config", [](HWND box) { test::PressButton(box, IDOK); });
    OpenTool(id::kCmdServiceHistory);
    EXPECT_TRUE(answerer.Found());
}

}  // namespace
}  // namespace vk930
