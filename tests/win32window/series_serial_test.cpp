// The Win32 window's "Number a series" over a Wine COM port: COM7 is vk930-sim presenting three
// terminals that come and go (linked by run_with_sims.sh); the dialog programs, verifies and
// numbers each while the window serves its messages, and shows the table and totals; its
// records are those the same series from vk930ctl leaves (with_ctl_series.sh runs it).
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "series_fixture.h"
#include "support/series_records.h"

namespace vk930 {
namespace {

// Where each program's terminal and file were: a COM port and a Windows path in the window,
// the simulated terminal and a Linux path in vk930ctl.
const std::vector<std::string> kWhere = {"reach", "file"};

// The exit status vk930ctl's series left beside this test, once it has ended; -1 when it did
// not end within a minute.
int CtlSeriesExit(const std::string& file) {
    // Written whole (renamed into place) once vk930ctl has ended.
    const auto written = [&] {
        return GetFileAttributesW(Widen(file).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    for (int waited = 0; waited < 6; ++waited)
        if (test::WaitFor(written)) return std::atoi(test::ReadFile(file).c_str());
    return -1;
}

TEST_F(SeriesDialogTest, OverComSevenThreeTerminalsAreProgrammedVerifiedAndNumbered) {
    settings_.Put("Device1", REG_SZ, std::string("COM7", 5));
    linkFromSettings_ = true;
    // The terminals come and go on the real clock: each wait of the stations is cut short.
    sleeper_ = [](int ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 20)));
    };
    Start();
    const std::string file = dir_.File("p.pcg");
    test::WriteFile(file, "HEADING:SERIES\r\nEND\r\n");
    std::vector<Row> table;
    std::string totals;
    bool ended = false, stopWhileRunning = false;
    test::DialogAnswerer answerer(kCaption, [&](HWND dialog) {
        Type(dialog, id::kSeriesCount, "3");
        Type(dialog, id::kSeriesFile, file);
        test::PressButton(dialog, id::kSeriesStart);
        test::WaitFor([&] { return Enabled(dialog, id::kSeriesStop); });
        stopWhileRunning = Enabled(dialog, id::kSeriesStop);
        // Three terminals, each removed 0.3 s after its restart: well within a minute.
        for (int waited = 0; waited < 6 && !ended; ++waited)
            ended = test::WaitFor([&] { return Enabled(dialog, id::kSeriesStart); });
        table = Table(dialog);
        totals = test::ItemText(dialog, id::kSeriesTotals);
        test::PressButton(dialog, id::kSeriesClose);
    });
    OpenSeries();
    EXPECT_TRUE(answerer.Found());
    EXPECT_TRUE(stopWhileRunning);
    ASSERT_TRUE(ended) << "the series did not end";
    ASSERT_EQ(table.size(), 4u);
    std::vector<int> ids;
    for (int row = 0; row < 3; ++row) {
        ASSERT_EQ(table[row].size(), 4u);
        EXPECT_EQ(table[row][0], "COM1");
        EXPECT_EQ(table[row][1], "done");
        EXPECT_FALSE(table[row][3].empty());
        ids.push_back(std::stoi(table[row][2]));
    }
    EXPECT_EQ(ids[1], ids[0] + 1);
    EXPECT_EQ(ids[2], ids[0] + 2);
    EXPECT_EQ(table[3][1], "station finished");
    EXPECT_EQ(totals, "Total: 3 terminals, 3 done, 0 failed, 0 IDs skipped");

    // The commands' entries went to the window's log, without a port (one station): each
    // terminal's Set verified and its ID written.
    int verified = 0, numbered = 0;
    for (const Entry& entry : Log()) {
        EXPECT_NE(entry.text.rfind("COM1: ", 0), 0u) << entry.text;
        verified += entry.text == "Verified: 20 bytes";
        numbered += entry == test::logs::kCommIdWritten;
    }
    EXPECT_EQ(verified, 3);
    EXPECT_EQ(numbered, 3);
    EXPECT_FALSE(app_->CommandRunning());

    // The same series from vk930ctl leaves the same records.
    const char* ctlLog = std::getenv("VK930_CTL_SERIES_LOG");
    const char* ctlExit = std::getenv("VK930_CTL_SERIES_EXIT");
    if (!ctlLog || !ctlExit) GTEST_SKIP() << "no vk930ctl series ran beside this test";
    ASSERT_EQ(CtlSeriesExit(test::OnDriveZ(ctlExit)), 0);
    std::vector<int> ctlIds, windowIds;
    const std::vector<std::string> fromCtl = test::SeriesRecordsOf(
        test::ReadFile(test::OnDriveZ(ctlLog)), "vk930ctl", ctlIds, {}, kWhere);
    const std::vector<std::string> fromWindow = test::SeriesRecordsOf(
        test::ReadFile(dir_.File("state/service-log.jsonl")), "vk930config", windowIds, {}, kWhere);
    ASSERT_EQ(fromCtl.size(), 3u);
    EXPECT_EQ(fromWindow, fromCtl);
    EXPECT_EQ(windowIds, ids) << "each record names the ID the table shows";
}

}  // namespace
}  // namespace vk930
