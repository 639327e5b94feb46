// The Tools dialogs in the Win32 window, opened from the menu and run against the in-process
// simulated terminal; a helper thread uses each dialog as a person would and reads back what
// its controls show.
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app_fixture.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/tool_ids.h"
#include "window_test_support.h"

namespace vk930 {
namespace {

using Row = std::vector<std::string>;

std::string Label(HWND dialog, int id) {
    return test::WindowText(GetDlgItem(dialog, id));
}

Row RowOf(HWND dialog, int id, int row) {
    HWND list = GetDlgItem(dialog, id);
    HWND header = ListView_GetHeader(list);
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    Row texts;
    for (int column = 0; column < columns && row < ListView_GetItemCount(list); ++column) {
        wchar_t text[512] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 512;
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        texts.push_back(Narrow(text));
    }
    return texts;
}

// On the helper thread: waits up to ten seconds for `done`.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 500; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

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
        file = Label(dialog, id::kCompareFile);
        test::PressButton(dialog, id::kCompareRun);
        WaitFor([&] {
            return Label(dialog, id::kCompareCounts).find(" to change") != std::string::npos;
        });
        first = RowOf(dialog, id::kCompareList, 0);
        counts = Label(dialog, id::kCompareCounts);
        test::PressButton(dialog, id::kCompareSetNow);
        WaitFor([&] { return Label(dialog, id::kCompareCounts).rfind("Set now", 0) == 0; });
        setNow = Label(dialog, id::kCompareCounts);
        test::PressButton(dialog, id::kCompareRun);
        WaitFor([&] {
            return Label(dialog, id::kCompareCounts).find(" to change") != std::string::npos;
        });
        again = Label(dialog, id::kCompareCounts);
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
        newest = RowOf(dialog, id::kBackupsList, 0);
        restoreBefore = IsWindowEnabled(GetDlgItem(dialog, id::kBackupsRestore)) != FALSE;
        HWND list = GetDlgItem(dialog, id::kBackupsList);
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        WaitFor([&] { return IsWindowEnabled(GetDlgItem(dialog, id::kBackupsRestore)) != FALSE; });
        test::PressButton(dialog, id::kBackupsRestore);
        WaitFor([&] { return Label(dialog, id::kBackupsStatus).rfind("Restore:", 0) == 0; });
        status = Label(dialog, id::kBackupsStatus);
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
