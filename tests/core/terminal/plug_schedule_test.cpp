#include "core/terminal/plug_schedule.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/terminal/sim_link.h"
#include "core/terminal/terminal_model.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

using Event = PlugSchedule::Event;

TEST(PlugSchedule, RemovesAfterTheLastResetAndPlugsTheNextInLater) {
    PlugSchedule schedule({.count = 2, .removeAfterMs = 500, .plugInAfterMs = 300});
    EXPECT_TRUE(schedule.Present());
    EXPECT_EQ(schedule.Advance(100000), Event::kNone) << "never reset: stays plugged in";
    schedule.NoteReset(1000);
    schedule.NoteReset(1200);  // a second reset (Set, then the CommID) postpones the removal
    EXPECT_EQ(schedule.Advance(1699), Event::kNone);
    EXPECT_EQ(schedule.Advance(1700), Event::kRemoved);
    EXPECT_FALSE(schedule.Present());
    EXPECT_EQ(schedule.Advance(1999), Event::kNone);
    EXPECT_EQ(schedule.Advance(2000), Event::kPluggedIn);
    EXPECT_TRUE(schedule.Present());
    EXPECT_EQ(schedule.Number(), 2);
    schedule.NoteReset(3000);
    EXPECT_EQ(schedule.Advance(3500), Event::kRemoved);
    EXPECT_EQ(schedule.Advance(100000), Event::kNone) << "the series has served its count";
    EXPECT_TRUE(schedule.Finished());
}

TEST(PlugSchedule, LateAskingCatchesUpOneEventAtATime) {
    PlugSchedule schedule({.count = 3, .removeAfterMs = 10, .plugInAfterMs = 10});
    schedule.NoteReset(0);
    EXPECT_EQ(schedule.Advance(5000), Event::kRemoved);
    EXPECT_EQ(schedule.Advance(5000), Event::kPluggedIn);
    EXPECT_EQ(schedule.Advance(5000), Event::kNone) << "the fresh terminal was never reset";
    EXPECT_EQ(schedule.Number(), 2);
}

TEST(PlugSchedule, StepByStepIgnoresTheClock) {
    PlugSchedule schedule({.count = 2, .removeAfterMs = 1000000, .plugInAfterMs = 1000000});
    EXPECT_EQ(schedule.PlugInNow(0), Event::kNone) << "one is plugged in already";
    EXPECT_EQ(schedule.RemoveNow(0), Event::kRemoved);
    EXPECT_EQ(schedule.RemoveNow(0), Event::kNone);
    EXPECT_EQ(schedule.PlugInNow(0), Event::kPluggedIn);
    EXPECT_EQ(schedule.RemoveNow(0), Event::kRemoved);
    EXPECT_EQ(schedule.PlugInNow(0), Event::kNone) << "no third terminal";
}

// A series on the terminal model, on a virtual clock.
struct SeriesTerminal {
    explicit SeriesTerminal(const std::string& spec) {
        Result<LinkSpec> parsed = ParseLinkSpec(spec);
        EXPECT_TRUE(parsed.ok()) << parsed.error();
        auto created = TerminalModel::Create(parsed->sim);
        EXPECT_TRUE(created.ok()) << created.error();
        model = std::move(created.value());
        model->SetClock([this] { return now; });
        model->SetEventSink([this](const std::string& e) { events.push_back(e); });
    }
    std::int64_t now = 0;
    std::shared_ptr<TerminalModel> model;
    std::vector<std::string> events;
};

TEST(TerminalSeries, EachTerminalIsFactoryFreshAndTheRemovedKeepWhatTheyWereGiven) {
    SeriesTerminal t("sim?series=3&remove=400&plugin=200");
    SimLink link(t.model);
    ASSERT_TRUE(link.Connect(1, 19200));
    for (int id = 301; id <= 303; ++id) {
        ASSERT_EQ(link.ReadInfo(), 1) << "terminal for ID " << id;
        EXPECT_EQ(PageCommId(t.model->Page(0)), 1) << "factory CommID";
        ASSERT_EQ(link.WriteByte(1, id >> 8, 0), 1);
        ASSERT_EQ(link.WriteByte(2, id & 0xFF, 0), 1);
        link.ResetDevice();
        t.now += 399;
        EXPECT_EQ(link.ReadInfo(), 1) << "still plugged in just before its removal";
        t.now += 1;
        EXPECT_NE(link.ReadInfo(), 1) << "removed";
        t.now += 200;
    }
    EXPECT_NE(link.ReadInfo(), 1) << "the series is over";
    ASSERT_EQ(t.model->RemovedTerminals().size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(PageCommId(t.model->RemovedTerminals()[i][0]), 301 + i);
    EXPECT_EQ(t.events, (std::vector<std::string>{"terminal 1 removed", "terminal 2 plugged in",
                                                  "terminal 2 removed", "terminal 3 plugged in",
                                                  "terminal 3 removed"}));
}

TEST(TerminalSeries, AStateFileIsRenewedAndEachRemovedTerminalKeptBesideIt) {
    TempDir dir;
    const std::string file = dir.File("t.bin");
    SeriesTerminal t("sim:" + file + "?series=2&remove=10&plugin=10");
    ASSERT_TRUE(t.model->WriteByte(0, 2, 77));
    t.model->RemoveTerminal();
    const std::string kept = ReadFile(RemovedTerminalPath(file, 1));
    ASSERT_EQ(kept.size(), 512u);
    EXPECT_EQ(static_cast<unsigned char>(kept[2]), 77);
    // Until the next one comes, the cradle's file must not show the one that left: a look at
    // the files would find that terminal, and its CommID, twice.
    EXPECT_EQ(static_cast<unsigned char>(ReadFile(file)[2]), 1) << "the cradle is empty";
    t.model->PlugInTerminal();
    EXPECT_EQ(static_cast<unsigned char>(ReadFile(file)[2]), 1) << "factory CommID again";
    EXPECT_EQ(t.model->TerminalNumber(), 2);
}

TEST(TerminalSeries, SpecOptionsAreChecked) {
    EXPECT_FALSE(ParseLinkSpec("sim?series=0").ok());
    EXPECT_FALSE(ParseLinkSpec("sim?series=x").ok());
    EXPECT_FALSE(ParseLinkSpec("sim?remove=-1").ok());
    EXPECT_FALSE(ParseLinkSpec("sim?plugin").ok());
    Result<LinkSpec> spec = ParseLinkSpec("sim?series=4&remove=0&plugin=2500");
    ASSERT_TRUE(spec.ok()) << spec.error();
    EXPECT_EQ(spec->sim.series.count, 4);
    EXPECT_EQ(spec->sim.series.removeAfterMs, 0);
    EXPECT_EQ(spec->sim.series.plugInAfterMs, 2500);
}

TEST(TerminalSeries, WithoutASeriesNothingComesOrGoes) {
    SeriesTerminal t("sim");
    ASSERT_TRUE(t.model->Reset());
    t.now += 10000000;
    EXPECT_TRUE(t.model->Present());
    t.model->RemoveTerminal();
    EXPECT_TRUE(t.model->Present());
    EXPECT_TRUE(t.events.empty());
}

}  // namespace
}  // namespace vk930::test
