// The Tools dialogs in the Qt window, opened from the menu and run against the simulated
// terminal: what each shows, read back from its widgets.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "core/forms/tool_ids.h"
#include "window/dialog_builder.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

class ToolsWindowTest : public WindowTest {
  protected:
    // Backups and records of this test alone: two backups of one terminal in one second
    // would otherwise change another test's backup name.
    void SetUp() override {
        oldState_ = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(dir.File("state")));
    }
    void TearDown() override {
        WindowTest::TearDown();
        qputenv("XDG_STATE_HOME", oldState_);
    }
    QByteArray oldState_;

    template <class Widget>
    static Widget* Find(QWidget* dialog, int id) {
        auto* widget = dialog->findChild<Widget*>(ControlObjectName(id));
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }
    static QString Label(QWidget* dialog, int id) { return Find<QLabel>(dialog, id)->text(); }
    static QStringList Row(QWidget* dialog, int id, int row) {
        QTreeWidgetItem* item = Find<QTreeWidget>(dialog, id)->topLevelItem(row);
        QStringList texts;
        for (int column = 0; item && column < item->columnCount(); ++column)
            texts << item->text(column);
        return texts;
    }
    static int Rows(QWidget* dialog, int id) {
        return Find<QTreeWidget>(dialog, id)->topLevelItemCount();
    }
    // Clicks a dialog's button and serves the window until the job it started has ended.
    void Press(QWidget* dialog, int id) {
        Find<QAbstractButton>(dialog, id)->click();
        EXPECT_TRUE(WaitUntil([&] { return !app->CommandRunning(); }, 30000));
    }
    // Opens a Tools item; `inside` acts in its dialog, which is then closed with "Close".
    void OpenTool(int command, std::function<void(QWidget*)> inside,
                  std::vector<ModalAnswerer::Action> more = {}) {
        bool ran = false;
        ModalAnswerer answerer({Inspect(
            [&](QWidget* dialog) {
                ran = true;
                inside(dialog);
            },
            ClickControl(id::kCancel))});
        for (auto& action : more) answerer.Add(std::move(action));
        Trigger(command);
        EXPECT_TRUE(WaitUntil([&] { return ran && !QApplication::activeModalWidget(); }));
        EXPECT_TRUE(ran) << "the dialog did not open";
        EXPECT_EQ(answerer.Unexpected(), 0);
    }
};

TEST_F(ToolsWindowTest, CompareListsTheChangesAndSetNowProgramsThem) {
    WindowOptions options;
    options.file = MakeFile("shop.pcg", "HEADING:Shop 9\r\nNOSUCHKEY:1\r\nEND\r\n");
    Start(options);
    QStringList firstRow, afterSet;
    QString counts, setNow, title;
    OpenTool(id::kCmdCompare, [&](QWidget* dialog) {
        title = dialog->windowTitle();
        EXPECT_EQ(Find<QLineEdit>(dialog, id::kCompareFile)->text(), options.file);
        EXPECT_FALSE(Find<QAbstractButton>(dialog, id::kCompareSetNow)->isEnabled());
        Press(dialog, id::kCompareRun);
        EXPECT_TRUE(
            WaitUntil([&] { return !Label(dialog, id::kCompareCounts).startsWith("Reading"); }));
        firstRow = Row(dialog, id::kCompareList, 0);
        counts = Label(dialog, id::kCompareCounts);
        Press(dialog, id::kCompareSetNow);
        EXPECT_TRUE(
            WaitUntil([&] { return Label(dialog, id::kCompareCounts).startsWith("Set now"); }));
        setNow = Label(dialog, id::kCompareCounts);
        Press(dialog, id::kCompareRun);
        EXPECT_TRUE(
            WaitUntil([&] { return !Label(dialog, id::kCompareCounts).startsWith("Reading"); }));
        afterSet = QStringList{Label(dialog, id::kCompareCounts)};
        EXPECT_EQ(Rows(dialog, id::kCompareList), 0) << "the Set left a change behind";
    });
    EXPECT_EQ(title, "Compare with terminal");
    ASSERT_EQ(firstRow.size(), 4);
    EXPECT_EQ(firstRow[0], "HEADING");
    EXPECT_TRUE(firstRow[2].startsWith("\"Shop 9 ")) << ToStd(firstRow[2]);
    EXPECT_EQ(counts, "1 to change, 0 unchanged, 1 ignored lines");
    EXPECT_TRUE(setNow.startsWith("Set now: done.")) << ToStd(setNow);
    EXPECT_EQ(afterSet, QStringList{"0 to change, 1 unchanged, 1 ignored lines"});
    EXPECT_FALSE(Log().empty()) << "the commands' log entries are missing";
}

TEST_F(ToolsWindowTest, BackupsListTheSetsBackupAndRestoreIt) {
    WindowOptions options;
    options.file = MakeFile("shop.pcg", "HEADING:Shop 9\r\nEND\r\n");
    Start(options);
    Click(id::kSetButton);  // writes the backup of the factory-fresh terminal
    int rows = 0;
    QStringList newest;
    QString status;
    bool restoreEnabledBefore = true;
    OpenTool(id::kCmdBackups, [&](QWidget* dialog) {
        rows = Rows(dialog, id::kBackupsList);
        newest = Row(dialog, id::kBackupsList, 0);
        restoreEnabledBefore = Find<QAbstractButton>(dialog, id::kBackupsRestore)->isEnabled();
        auto* list = Find<QTreeWidget>(dialog, id::kBackupsList);
        list->setCurrentItem(list->topLevelItem(0));
        Press(dialog, id::kBackupsRestore);
        EXPECT_TRUE(
            WaitUntil([&] { return Label(dialog, id::kBackupsStatus).startsWith("Restore:"); }));
        status = Label(dialog, id::kBackupsStatus);
    });
    EXPECT_GE(rows, 1);
    ASSERT_EQ(newest.size(), 4);
    EXPECT_EQ(newest[1], "COM1");
    EXPECT_TRUE(newest[3].endsWith(".pcg"));
    EXPECT_FALSE(restoreEnabledBefore) << "Restore without a chosen backup";
    EXPECT_EQ(status, "Restore: done");
}

TEST_F(ToolsWindowTest, HistoryShowsTheBenchsRecordsAndExportsThem) {
    Start();
    Click(id::kReadDeviceInfoButton);
    QStringList newest;
    QString where, details;
    const QString csv = ToQ(dir.File("history.csv"));
    OpenTool(
        id::kCmdServiceHistory,
        [&](QWidget* dialog) {
            where = Label(dialog, id::kHistoryWhere);
            newest = Row(dialog, id::kHistoryList, 0);
            auto* list = Find<QTreeWidget>(dialog, id::kHistoryList);
            list->setCurrentItem(list->topLevelItem(0));
            details = Label(dialog, id::kHistoryDetails);
            Find<QAbstractButton>(dialog, id::kHistoryExport)->click();  // answered by PickFile
        },
        {PickFile(csv)});
    EXPECT_TRUE(where.startsWith("Records of this bench (")) << ToStd(where);
    ASSERT_EQ(newest.size(), 5);
    EXPECT_EQ(newest[1], "info");
    EXPECT_EQ(newest[2], "COM1");
    EXPECT_EQ(newest[4], "success");
    EXPECT_TRUE(details.startsWith("File: none\nBackup: none\nOutcome: success")) << ToStd(details);
    const std::string written = ReadFile(ToStd(csv));
    EXPECT_EQ(written.rfind("time,program,command,port,", 0), 0u) << written;
    EXPECT_NE(written.find(",vk930config,info,1,"), std::string::npos) << written;
}

}  // namespace
}  // namespace vk930::test
