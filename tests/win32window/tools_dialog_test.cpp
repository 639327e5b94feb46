// The Tools dialogs in the Win32 window, opened from the menu and run against the in-process
// simulated terminal; a helper thread uses each dialog as a person would and reads back what
// its controls show.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app_fixture.h"
#include "core/base/json_value.h"
#include "core/base/sha256.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/tool_ids.h"
#include "core/proof/record_line.h"
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
    std::string status, folder;
    bool restoreBefore = true;
    test::DialogAnswerer answerer("Backups", [&](HWND dialog) {
        folder = Label(dialog, id::kBackupsFolder);
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
    EXPECT_NE(folder.find(dir_.File("state")), std::string::npos)
        << "the backups are kept beside the service log: " << folder;
}

TEST_F(ToolsDialogTest, BackupsOpenMakesTheChosenBackupTheDocument) {
    const std::string path = dir_.File("shop.pcg");
    test::WriteFile(path, "HEADING:Shop 9\r\nEND\r\n");
    Start(std::nullopt, path);
    Click(id::kSetButton);
    Row newest;
    test::DialogAnswerer answerer("Backups", [&](HWND dialog) {
        newest = RowOf(dialog, id::kBackupsList, 0);
        HWND list = GetDlgItem(dialog, id::kBackupsList);
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        WaitFor([&] { return IsWindowEnabled(GetDlgItem(dialog, id::kBackupsOpen)) != FALSE; });
        test::PressButton(dialog, id::kBackupsOpen);
    });
    OpenTool(id::kCmdBackups);
    EXPECT_TRUE(answerer.Found());
    ASSERT_EQ(newest.size(), 4u);
    const std::string document = app_->State().document.m_strFilePath;
    EXPECT_EQ(document.rfind(dir_.File("state"), 0), 0u) << document;
    EXPECT_NE(document.find(newest[3]), std::string::npos) << document << " " << newest[3];
}

// Each command leaves its record in the bench's service log beside the journal of IDs, and
// "Service history..." shows them, newest first, with a record's details.
TEST_F(ToolsDialogTest, CommandsLeaveRecordsThatServiceHistoryShows) {
    const std::string path = dir_.File("shop.pcg");
    test::WriteFile(path, "HEADING:Shop 9\r\nEND\r\n");
    Start(std::nullopt, path);
    Click(id::kReadDeviceInfoButton);
    Click(id::kSetButton);

    const FoundRecords stored =
        FindRecordLines(test::ReadFile(dir_.File("state/service-log.jsonl")), {});
    EXPECT_EQ(stored.unreadable, 0);
    ASSERT_EQ(stored.json.size(), 2u);
    const HistoryRecord info = HistoryRecordOf(stored.json[0]);
    const HistoryRecord set = HistoryRecordOf(stored.json[1]);
    EXPECT_EQ(info.program, "vk930config");
    EXPECT_EQ(info.command, "info");
    EXPECT_EQ(info.port, 1);
    EXPECT_EQ(info.reach, "sim:" + dir_.File("t.bin"));
    EXPECT_EQ(info.outcome, "success");
    EXPECT_EQ(info.commIdBefore, 1);
    EXPECT_EQ(set.command, "set");
    EXPECT_EQ(set.file, path);
    EXPECT_EQ(set.outcome, "success");
    ASSERT_FALSE(set.backup.empty());
    EXPECT_EQ(set.backup.rfind(dir_.File("state"), 0), 0u) << set.backup;
    EXPECT_TRUE(std::filesystem::is_regular_file(set.backup)) << set.backup;
    EXPECT_EQ(JsonString(ParseJson(stored.json[1])->Member("sha256")),
              Sha256Hex("HEADING:Shop 9\r\nEND\r\n"));

    std::string where, details;
    Row newest, oldest;
    test::DialogAnswerer answerer("Service history", [&](HWND dialog) {
        where = Label(dialog, id::kHistoryWhere);
        newest = RowOf(dialog, id::kHistoryList, 0);
        oldest = RowOf(dialog, id::kHistoryList, 1);
        HWND list = GetDlgItem(dialog, id::kHistoryList);
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        WaitFor([&] {
            return Label(dialog, id::kHistoryDetails).find(set.backup) != std::string::npos;
        });
        details = Label(dialog, id::kHistoryDetails);
        test::PressButton(dialog, id::kCancel);
    });
    OpenTool(id::kCmdServiceHistory);
    EXPECT_TRUE(answerer.Found());
    EXPECT_NE(where.find(dir_.File("state")), std::string::npos) << where;
    ASSERT_EQ(newest.size(), 5u);
    EXPECT_EQ(newest[0], set.time);
    EXPECT_EQ(newest[1], "set");
    EXPECT_EQ(newest[2], "COM1");
    EXPECT_EQ(oldest.at(1), "info");
    EXPECT_NE(details.find(path), std::string::npos) << details;
    EXPECT_NE(details.find(set.backup), std::string::npos) << details;
}

}  // namespace
}  // namespace vk930
