// The Tools dialogs in the Win32 window, opened from the menu and run against the in-process
// simulated terminal; a helper thread uses each dialog as a person would and reads back what
// its controls show.
#include <filesystem>
#include <string>
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
    std::string status, folder;
    bool restoreBefore = true;
    test::DialogAnswerer answerer("Backups", [&](HWND dialog) {
        folder = test::ItemText(dialog, id::kBackupsFolder);
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
        newest = test::ListRow(dialog, id::kBackupsList, 0);
        HWND list = GetDlgItem(dialog, id::kBackupsList);
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        test::WaitFor(
            [&] { return IsWindowEnabled(GetDlgItem(dialog, id::kBackupsOpen)) != FALSE; });
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
        where = test::ItemText(dialog, id::kHistoryWhere);
        newest = test::ListRow(dialog, id::kHistoryList, 0);
        oldest = test::ListRow(dialog, id::kHistoryList, 1);
        HWND list = GetDlgItem(dialog, id::kHistoryList);
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        test::WaitFor([&] {
            return test::ItemText(dialog, id::kHistoryDetails).find(set.backup) !=
                   std::string::npos;
        });
        details = test::ItemText(dialog, id::kHistoryDetails);
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
