// The window's "Number a series": the Tools item opens the dialog built from template 143, and
// a series of three simulated terminals that come and go runs from its Start button while the
// window goes on serving its events.
// Before Qt's headers, whose `signals` keyword would rename one of its parameters.
#ifdef VK930CTL_PATH
#include "support/run_program.h"
#endif

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <chrono>
#include <thread>

#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "core/proof/state_folder.h"
#include "modal_answerer.h"
#include "support/series_records.h"
#include "window/main_frame.h"
#include "window/series_dlg.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

class SeriesWindowTest : public WindowTest {
  protected:
    template <typename W>
    static W* ControlOf(QWidget& dialog, int id) {
        auto* control = dialog.findChild<W*>(ControlObjectName(id));
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    // Runs a series of `count` terminals from the dialog to its end.
    void RunSeries(const QString& file, int count, bool verify = true) {
        CSeriesDlg dialog(app->SeriesParts(), &app->Frame());
        dialog.show();
        ControlOf<QLineEdit>(dialog, id::kSeriesCount)->setText(QString::number(count));
        ControlOf<QLineEdit>(dialog, id::kSeriesFile)->setText(file);
        ControlOf<QCheckBox>(dialog, id::kSeriesVerify)->setChecked(verify);
        ControlOf<QPushButton>(dialog, id::kSeriesStart)->click();
        ASSERT_TRUE(WaitUntil([&] { return !dialog.Logic().Running(); }, 60000));
        dialog.reject();
    }
    // The series records a program left in the service log (support/series_records.h); only
    // those of series that programmed `file`: the test process keeps one log.
    static std::vector<std::string> SeriesRecordsOf(const std::string& program, const QString& file,
                                                    std::vector<int>& ids) {
        return test::SeriesRecordsOf(ReadFile(ServiceLogPath(StateFolder())), program, ids,
                                     ToStd(file));
    }
    static QString Cell(QTableWidget* table, int row, int column) {
        const QTableWidgetItem* item = table->item(row, column);
        return item ? item->text() : QString();
    }
};

TEST_F(SeriesWindowTest, TheToolsItemOpensTheDialogOnTheCurrentPort) {
    WriteSetting("ComPort", 2);
    Start();
    bool seen = false;
    ModalAnswerer answerer({Inspect(
        [&](QWidget* dialog) {
            seen = true;
            EXPECT_EQ(dialog->windowTitle(), "Number a series");
            EXPECT_TRUE(ControlOf<QCheckBox>(*dialog, id::kSeriesNextId)->isChecked());
            EXPECT_FALSE(ControlOf<QLineEdit>(*dialog, id::kSeriesFirstId)->isEnabled());
            EXPECT_TRUE(ControlOf<QCheckBox>(*dialog, id::kSeriesVerify)->isChecked());
            for (int port = 1; port <= 8; ++port)
                EXPECT_EQ(ControlOf<QCheckBox>(*dialog, id::kSeriesPort1 + port - 1)->isChecked(),
                          port == 2)
                    << port;
            EXPECT_TRUE(ControlOf<QLabel>(*dialog, id::kSeriesRegistry)
                            ->text()
                            .startsWith("IDs from this bench's counter, records to "));
            EXPECT_FALSE(ControlOf<QPushButton>(*dialog, id::kSeriesStop)->isEnabled());
        },
        ClickControl(id::kSeriesClose))});
    Trigger(id::kCmdNumberSeries);
    EXPECT_TRUE(seen);
    EXPECT_EQ(answerer.Unexpected(), 0);
}

TEST_F(SeriesWindowTest, ThreeTerminalsAreNumberedFromTheDialogWhileTheWindowResponds) {
    WindowOptions options;
    options.link = "sim?series=3&remove=300&plugin=100";
    Start(options);
    // The terminals come and go on the real clock: each wait of the stations is cut short.
    onSleep = [](int ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 20)));
    };
    const QString file = MakeFile("p.pcg", "HEADING:SERIES\r\nEND\r\n");

    CSeriesDlg dialog(app->SeriesParts(), &app->Frame());
    dialog.show();
    ControlOf<QLineEdit>(dialog, id::kSeriesCount)->setText("3");
    ControlOf<QLineEdit>(dialog, id::kSeriesFile)->setText(file);
    ControlOf<QPushButton>(dialog, id::kSeriesStart)->click();
    EXPECT_TRUE(dialog.Logic().Running());
    EXPECT_FALSE(ControlOf<QPushButton>(dialog, id::kSeriesStart)->isEnabled());
    EXPECT_TRUE(ControlOf<QPushButton>(dialog, id::kSeriesStop)->isEnabled());
    int served = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            ++served;
            return !dialog.Logic().Running();
        },
        60000));
    EXPECT_GT(served, 3) << "the window served its events while the series ran";

    auto* table = ControlOf<QTableWidget>(dialog, id::kSeriesTable);
    ASSERT_EQ(table->rowCount(), 4);
    std::vector<int> ids;
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Cell(table, row, 0), "COM1");
        EXPECT_EQ(Cell(table, row, 1), "done");
        EXPECT_FALSE(Cell(table, row, 3).isEmpty());
        ids.push_back(Cell(table, row, 2).toInt());
    }
    EXPECT_EQ(ids[1], ids[0] + 1);
    EXPECT_EQ(ids[2], ids[0] + 2);
    EXPECT_EQ(Cell(table, 3, 1), "station finished");
    EXPECT_EQ(ControlOf<QLabel>(dialog, id::kSeriesTotals)->text(),
              "Total: 3 terminals, 3 done, 0 failed, 0 IDs skipped");
    EXPECT_TRUE(ControlOf<QPushButton>(dialog, id::kSeriesStart)->isEnabled());

    // The commands' entries went to the window's log, without a port (one station): each
    // terminal's Set verified and its ID written.
    int verified = 0, numbered = 0;
    for (const LogEntry& entry : Log()) {
        EXPECT_FALSE(entry.text.rfind("COM1: ", 0) == 0) << entry.text;
        verified += entry.text == "Verified: 20 bytes";
        numbered += entry.text == "commID written successful. Resetting...";
    }
    EXPECT_EQ(verified, 3);
    EXPECT_EQ(numbered, 3);
    // Each terminal's record is in the bench's service log, with its ID written.
    const std::string records = ReadFile(ServiceLogPath(StateFolder()));
    for (int id : ids)
        EXPECT_NE(records.find("\"commId\":" + std::to_string(id)), std::string::npos) << id;
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
}

#ifdef VK930CTL_PATH
TEST_F(SeriesWindowTest, TheWindowsSeriesLeavesTheRecordsVk930ctlsSeriesLeaves) {
    // vk930ctl waits its 4 s after each ID write for real: the terminals stay until then.
    const std::string spec = "sim?series=3&remove=4500&plugin=300";
    const QString file = MakeFile("p.pcg", "HEADING:SERIES\r\nEND\r\n");
    const ProgramRun ctl =
        RunProgram(VK930CTL_PATH, {"--settings", dir.File("ctl.ini"), "--link", spec, "series",
                                   "--next", "--count", "3", "--set", ToStd(file)});
    ASSERT_EQ(ctl.exitCode, 0) << ctl.out << ctl.err;

    WindowOptions options;
    options.link = spec;
    Start(options);
    onSleep = [](int ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 20)));
    };
    // The window's own counter is below the IDs vk930ctl handed out: it says so once, in a box,
    // while its station waits and the dialog goes on showing the series.
    ModalAnswerer answerer;
    std::vector<MessageBoxSeen> seen;
    answerer.Add(AcceptMessageBox(seen));
    RunSeries(file, 3);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, QString("Notice"));
    EXPECT_TRUE(seen[0].text.contains("counting on from")) << ToStd(seen[0].text);
    EXPECT_EQ(answerer.Unexpected(), 0);

    std::vector<int> ctlIds, windowIds;
    const std::vector<std::string> fromCtl = SeriesRecordsOf("vk930ctl", file, ctlIds);
    const std::vector<std::string> fromWindow = SeriesRecordsOf("vk930config", file, windowIds);
    ASSERT_EQ(fromCtl.size(), 3u);
    EXPECT_EQ(fromWindow, fromCtl);
    // One journal (the bench's service log): the window's IDs follow those vk930ctl handed
    // out, none twice.
    ASSERT_EQ(windowIds.size(), 3u);
    EXPECT_EQ(ctlIds[1], ctlIds[0] + 1);
    EXPECT_EQ(ctlIds[2], ctlIds[0] + 2);
    EXPECT_EQ(windowIds[0], ctlIds[2] + 1);
    EXPECT_EQ(windowIds[2], windowIds[0] + 2);
}
#endif

}  // namespace
}  // namespace vk930::test
