// The Win32 window's "Number a series" dialog against the in-process simulated terminals: its
// first choices, the "done: remove it" row painted to be seen across the bench, and Stop,
// which asks once and then says what the series leaves.
#include <algorithm>
#include <chrono>
#include <thread>

#include "core/settings/settings_keys.h"
#include "series_fixture.h"

namespace vk930 {
namespace {

TEST_F(SeriesDialogTest, TheToolsItemOpensTheDialogOnTheCurrentPort) {
    settings_.Put(kValueComPort, REG_DWORD, std::string("\x02\x00\x00\x00", 4));
    Start();
    bool nextId = false, firstIdEnabled = true, verify = false, stopEnabled = true;
    std::vector<bool> ports;
    std::string registry, count;
    test::DialogAnswerer answerer(kCaption, [&](HWND dialog) {
        nextId = Checked(dialog, id::kSeriesNextId);
        firstIdEnabled = Enabled(dialog, id::kSeriesFirstId);
        verify = Checked(dialog, id::kSeriesVerify);
        for (int port = 0; port < 8; ++port)
            ports.push_back(Checked(dialog, id::kSeriesPort1 + port));
        registry = test::ItemText(dialog, id::kSeriesRegistry);
        count = test::ItemText(dialog, id::kSeriesCount);
        stopEnabled = Enabled(dialog, id::kSeriesStop);
        test::PressButton(dialog, id::kSeriesClose);
    });
    OpenSeries();
    EXPECT_TRUE(answerer.Found());
    EXPECT_TRUE(nextId);
    EXPECT_FALSE(firstIdEnabled) << "the typed first ID is void while the next ID is chosen";
    EXPECT_TRUE(verify);
    EXPECT_EQ(ports, (std::vector<bool>{false, true, false, false, false, false, false, false}));
    EXPECT_EQ(registry.rfind("IDs from this bench's counter, records to ", 0), 0u) << registry;
    EXPECT_EQ(count, "1");
    EXPECT_FALSE(stopEnabled);
    EXPECT_FALSE(app_->CommandRunning());
}

TEST_F(SeriesDialogTest, ChoicesThatMakeNoSeriesAreToldAndNothingStarts) {
    Start();
    std::string told;
    bool startEnabled = false;
    test::DialogAnswerer answerer(kCaption, [&](HWND dialog) {
        Type(dialog, id::kSeriesCount, "");
        test::PressButton(dialog, id::kSeriesStart);
        HWND box = test::WaitForOwnedBox(dialog);
        told = test::BoxText(box);
        test::PressButton(box, IDOK);
        test::WaitFor([&] { return !IsWindow(box); });
        startEnabled = Enabled(dialog, id::kSeriesStart);
        test::PressButton(dialog, id::kSeriesClose);
    });
    OpenSeries();
    EXPECT_TRUE(answerer.Found());
    EXPECT_NE(told.find("how many terminals"), std::string::npos) << told;
    EXPECT_TRUE(startEnabled);
}

TEST_F(SeriesDialogTest, TheRowToRemoveIsGreenAndStopAsksOnceThenSaysWhatTheSeriesLeaves) {
    // The first terminal stays at its station long after it is numbered.
    sleeper_ = [](int ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 20)));
    };
    Start("sim?series=2&remove=60000&plugin=100");
    std::string toRemove, question, left, totals, commId;
    Paint removeIt;
    bool stopAfterYes = true, startAfterEnd = false;
    int questions = 0;
    test::DialogAnswerer answerer(kCaption, [&](HWND dialog) {
        Type(dialog, id::kSeriesCount, "2");
        test::PressButton(dialog, id::kSeriesStart);
        test::WaitFor([&] { return State(dialog, 0) == "done: remove it"; });
        toRemove = State(dialog, 0);
        commId = test::ListRow(dialog, id::kSeriesTable, 0).at(2);
        removeIt = PaintOf(dialog, 0);
        test::PressButton(dialog, id::kSeriesStop);
        HWND ask = test::WaitForOwnedBox(dialog);
        question = test::BoxText(ask);
        ++questions;
        test::PressButton(ask, IDYES);
        test::WaitFor([&] { return !Enabled(dialog, id::kSeriesStop); });
        stopAfterYes = Enabled(dialog, id::kSeriesStop);
        // A second Stop, and Close, while the stations stop: no second question.
        test::PressButton(dialog, id::kSeriesStop);
        HWND tell = test::WaitForOwnedBox(dialog, ask);
        left = test::BoxText(tell);
        questions += left.find("Stop the series?") != std::string::npos;
        test::PressButton(tell, IDOK);
        test::WaitFor([&] { return !IsWindow(tell) && Enabled(dialog, id::kSeriesStart); });
        startAfterEnd = Enabled(dialog, id::kSeriesStart);
        totals = test::ItemText(dialog, id::kSeriesTotals);
        test::PressButton(dialog, id::kSeriesClose);
    });
    OpenSeries();
    EXPECT_TRUE(answerer.Found());
    EXPECT_EQ(toRemove, "done: remove it");
    EXPECT_FALSE(commId.empty());
    // Painted, not left to the list view: white on green.
    EXPECT_EQ(removeIt.answer, CDRF_NEWFONT);
    EXPECT_EQ(removeIt.text, RGB(255, 255, 255));
    EXPECT_EQ(removeIt.back, RGB(0, 128, 0));
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(question.rfind("Stop the series?", 0), 0u) << question;
    EXPECT_FALSE(stopAfterYes);
    EXPECT_EQ(left.rfind("The series stopped. Total: 1 terminal, 1 done", 0), 0u) << left;
    EXPECT_NE(left.find("COM1: stopped after its current step"), std::string::npos) << left;
    EXPECT_TRUE(startAfterEnd);
    EXPECT_EQ(totals.rfind("Total: 1 terminal, 1 done", 0), 0u) << totals;
    EXPECT_FALSE(app_->CommandRunning());
    // The terminal's ID was written by the station's command, into the window's log.
    const std::vector<Entry> log = Log();
    EXPECT_NE(std::find(log.begin(), log.end(), test::logs::kCommIdWritten), log.end());
}

}  // namespace
}  // namespace vk930

namespace vk930 {
namespace {

TEST_F(SeriesDialogTest, TwoStationsNumberTheirTerminalsAndPrefixTheirLogEntries) {
    sleeper_ = [](int ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 20)));
    };
    Start("sim?series=2&remove=300&plugin=100");
    std::vector<Row> table;
    std::string totals;
    bool ended = false;
    test::DialogAnswerer answerer(kCaption, [&](HWND dialog) {
        Type(dialog, id::kSeriesCount, "2");
        SendDlgItemMessageW(dialog, id::kSeriesPort1 + 1, BM_SETCHECK, BST_CHECKED, 0);
        test::PressButton(dialog, id::kSeriesStart);
        test::WaitFor([&] { return !Enabled(dialog, id::kSeriesStart); });
        for (int waited = 0; waited < 3 && !ended; ++waited)
            ended = test::WaitFor([&] { return Enabled(dialog, id::kSeriesStart); });
        table = Table(dialog);
        totals = test::ItemText(dialog, id::kSeriesTotals);
        test::PressButton(dialog, id::kSeriesClose);
    });
    OpenSeries();
    ASSERT_TRUE(ended);
    EXPECT_EQ(totals, "Total: 4 terminals, 4 done, 0 failed, 0 IDs skipped");
    std::vector<int> ids;
    int com2 = 0;
    for (const Row& row : table) {
        if (row[1] != "done") continue;
        ids.push_back(std::stoi(row[2]));
        com2 += row[0] == "COM2";
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<int>{ids[0], ids[0] + 1, ids[0] + 2, ids[0] + 3}));
    EXPECT_EQ(com2, 2);
    int prefixed = 0;
    for (const Entry& entry : Log()) prefixed += entry.text.rfind("COM2: ", 0) == 0;
    EXPECT_GT(prefixed, 0) << "with two stations each entry names its port";
}

}  // namespace
}  // namespace vk930
