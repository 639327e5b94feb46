// The window's "Number a series": the Tools item opens the dialog built from template 141, and
// a series of three simulated terminals that come and go runs from its Start button while the
// window goes on serving its events.
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

}  // namespace
}  // namespace vk930::test
