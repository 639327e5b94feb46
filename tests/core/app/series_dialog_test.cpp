// The "Number a series" dialog's logic through a window without a toolkit: its choices, and
// whole series of simulated terminals that come and go (on each station's virtual clock), on
// one port and on two, stopped while a station waits and while an ID is written.
#include "core/app/series_dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "core/forms/form_ids.h"
#include "core/registry/local_registry.h"
#include "core/series/hosted_station.h"
#include "core/series/std_station_threads.h"
#include "core/settings/id_counter.h"
#include "core/settings/registry_key.h"
#include "core/terminal/link_spec.h"
#include "core/terminal/sim_link.h"
#include "core/terminal/terminal_model.h"
#include "support/memory_journal.h"
#include "support/memory_settings.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

using namespace std::chrono_literals;

// The test's GUI thread: what the stations and the job post, served in order.
class GuiQueue {
  public:
    void Post(std::function<void()> call) {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(std::move(call));
        posted_.notify_all();
    }
    // Serves posted calls until `done` holds; false when it did not within a minute.
    bool ServeUntil(const std::function<bool()>& done) {
        const auto give_up = std::chrono::steady_clock::now() + 60s;
        while (!done()) {
            std::function<void()> call;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                if (!posted_.wait_until(lock, give_up, [this] { return !calls_.empty(); }))
                    return false;
                call = std::move(calls_.front());
                calls_.pop_front();
            }
            call();
        }
        return true;
    }

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> calls_;
};

// The window's job thread: its end is posted to the GUI queue.
class ThreadRunner : public JobRunner {
  public:
    explicit ThreadRunner(GuiQueue& gui) : gui_(gui) {}
    ~ThreadRunner() override {
        if (thread_.joinable()) thread_.join();
    }
    bool Start(std::function<void()> job, std::function<void()> done) override {
        if (running_) return false;
        if (thread_.joinable()) thread_.join();
        running_ = true;
        thread_ = std::thread([this, job = std::move(job), done = std::move(done)] {
            job();
            gui_.Post([this, done] {
                running_ = false;
                done();
            });
        });
        return true;
    }
    bool Running() const override { return running_; }
    void RunAndWait(const std::function<void()>& call) override { call(); }

  private:
    GuiQueue& gui_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

// The window's log, written by several stations at once.
class WindowLog : public Host {
  public:
    void AppendLog(std::string text, int kind) override {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.emplace_back(std::move(text), kind);
    }
    void ClearLog() override {}
    void Beep() override { ++beeps; }
    void MessageBox(const std::string& text, const std::string&) override { AppendLog(text, -1); }
    void Sleep(int) override {}
    void SetControlText(int, const std::string&) override { ++formCalls; }
    void SetControlVisible(int, bool) override { ++formCalls; }
    void SetControlReadOnly(int, bool) override { ++formCalls; }
    void StartFormTimer(int) override {}
    void StopFormTimer() override {}
    GetParamsDialogAnswer RunGetParamsDialog(int, const std::string&) override { return {}; }
    FirmwareDialogAnswer RunFirmwareDialog() override { return {}; }
    FileDialogAnswer RunFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> CurrentDirectory() override { return "/"; }
    bool SetCurrentDirectory(const std::string&) override { return true; }
    void StartEditor(const std::string&) override {}
    void SetDocumentTitle(const std::string&) override {}

    std::vector<std::pair<std::string, int>> Entries() {
        std::lock_guard<std::mutex> lock(mutex_);
        return entries_;
    }
    std::atomic<int> beeps{0};
    std::atomic<int> formCalls{0};

  private:
    std::mutex mutex_;
    std::vector<std::pair<std::string, int>> entries_;
};

class FakeDialog : public SeriesDialogView {
  public:
    void ShowChoices(const SeriesChoices& c) override { choices = c; }
    void ShowRegistry(const std::string& text) override { registry = text; }
    void ShowRow(std::size_t index, const SeriesRow& row) override {
        ASSERT_LE(index, rows.size()) << "a row shown before the rows above it";
        if (index == rows.size())
            rows.push_back(row);
        else
            rows[index] = row;
        shown.push_back(row);
    }
    void ShowTotals(const std::string& text) override { totals = text; }
    void ShowRunning(bool r, bool s) override {
        running = r;
        stopping = s;
    }
    void Tell(const std::string& text) override { told.push_back(text); }
    bool Ask(const std::string& question) override {
        asked.push_back(question);
        return answer;
    }
    std::optional<std::string> AskParameterFile() override { return browsed; }
    void Close() override { ++closes; }

    SeriesChoices choices;
    std::string registry, totals;
    std::vector<SeriesRow> rows, shown;
    bool running = false, stopping = false;
    std::vector<std::string> told, asked;
    bool answer = true;
    std::optional<std::string> browsed;
    int closes = 0;
};

// A bench: the registry, a simulated port per station on its own virtual clock, the window.
class SeriesBench : public ::testing::Test {
  protected:
    SeriesBench() { EXPECT_TRUE(registry.StartAt(20001).ok()); }

    // The terminals at `port`, as a link spec's options give them.
    void Port(int port, const std::string& options) {
        Result<LinkSpec> spec = ParseLinkSpec("sim?" + options);
        ASSERT_TRUE(spec.ok()) << spec.error();
        auto terminal = TerminalModel::Create(spec->sim);
        ASSERT_TRUE(terminal.ok()) << terminal.error();
        auto& clock = clocks[port];
        clock = 0;
        (*terminal)->SetClock([&clock] { return static_cast<std::int64_t>(clock.load()); });
        terminals[port] = std::move(terminal.value());
    }

    SeriesDialogParts Parts(int currentPort = 1) {
        SeriesDialogParts parts;
        parts.registry = &registry;
        parts.currentPort = currentPort;
        parts.kit.window = &window;
        parts.kit.settings = &settings;
        parts.kit.makeLink = [this](int port) -> std::unique_ptr<CLinkCtrl> {
            return std::make_unique<SimLink>(terminals.at(port));
        };
        parts.kit.recorder.program = "test";
        parts.kit.sleep = [this](int port, int ms, const StopRequest& stop) {
            if (onSleep) onSleep(port, ms, stop);
            if (!stop.Requested()) clocks.at(port) += ms;
        };
        parts.kit.clockMs = [this] {
            long long sum = 0;
            for (auto& [port, clock] : clocks) sum += clock;
            return sum;
        };
        parts.makeThreads = [] { return std::make_unique<StdStationThreads>(); };
        parts.runner = &runner;
        parts.post = [this](std::function<void()> call) { gui.Post(std::move(call)); };
        parts.newSeriesId = [] { return std::string("s1"); };
        parts.fileExists = [](const std::string& path) {
            return path.find("missing") == path.npos;
        };
        return parts;
    }

    SeriesChoices Choices(std::vector<int> ports, int count, bool withFile = true) {
        SeriesChoices c;
        c.count = std::to_string(count);
        if (withFile) {
            c.setFile = folder.File("p.pcg");
            WriteFile(c.setFile, "HEADING:SERIES\r\nEND\r\n");
        }
        for (int port : ports) c.ports[static_cast<std::size_t>(port - 1)] = true;
        return c;
    }

    // Runs the dialog's series to its end, serving the GUI queue meanwhile.
    void RunToEnd(SeriesDialog& dialog) {
        ASSERT_TRUE(gui.ServeUntil([&] { return !dialog.Running(); })) << "the series hangs";
    }

    // The IDs the terminals of `port` carry: those removed, then the one still at the port.
    std::vector<int> IdsAt(int port) {
        std::vector<int> ids;
        for (const auto& pages : terminals.at(port)->RemovedTerminals())
            ids.push_back(PageCommId(pages[0]));
        return ids;
    }

    // Every ID reserved is in a terminal or has a reason recorded why not, once.
    void ExpectEveryReservedIdInATerminalOrExplained() {
        std::set<int> carried;
        for (auto& [port, terminal] : terminals) {
            for (int id : IdsAt(port)) carried.insert(id);
            const PageBytes page0 = terminal->Page(0);
            carried.insert(page0[1] * 256 + page0[2]);
        }
        std::set<int> seen;
        for (const ServiceRecord& r : log.records) {
            if (!r.reservedId) continue;
            EXPECT_TRUE(seen.insert(r.reservedId->commId).second)
                << "ID " << r.reservedId->commId << " recorded twice";
            if (r.reservedId->written)
                EXPECT_TRUE(carried.count(r.reservedId->commId))
                    << "ID " << r.reservedId->commId << " recorded as written is in no terminal";
            else
                EXPECT_FALSE(r.reservedId->skipReason.empty())
                    << "ID " << r.reservedId->commId << " not written and not explained";
        }
        for (int id = 20001; id <= LastHandedOut(); ++id)
            EXPECT_TRUE(seen.count(id)) << "ID " << id << " was reserved and has no record";
    }

    int LastHandedOut() { return settings.values[kValueCommId]; }

    TempDir folder;
    MemorySettings settings;
    FreeLock lock;
    IdCounter counter{settings, lock};
    MemoryRecords log{"/records/service.jsonl"};
    LocalRegistry registry{counter, log, "memory"};
    std::map<int, std::shared_ptr<TerminalModel>> terminals;
    std::map<int, std::atomic<long long>> clocks;
    std::function<void(int port, int ms, const StopRequest& stop)> onSleep;
    WindowLog window;
    GuiQueue gui;
    ThreadRunner runner{gui};
};

TEST(SeriesChoices, APlanNeedsAnIdACountAFileThatIsThereAndAPort) {
    const auto exists = [](const std::string& path) { return path == "/p.pcg"; };
    SeriesChoices c;
    c.count = "3";
    c.ports[1] = true;
    Result<SeriesPlan> plan = PlanOf(c, exists);
    ASSERT_TRUE(plan.ok()) << plan.error();
    EXPECT_FALSE(plan->firstId) << "the next ID after the stored one";
    EXPECT_EQ(plan->count, 3);
    EXPECT_FALSE(plan->setFile);
    EXPECT_EQ(plan->ports, std::vector<int>{2});

    struct Case {
        std::function<void(SeriesChoices&)> change;
        std::string says;  // the start of the message; empty: a plan
    };
    const Case cases[] = {
        {[](SeriesChoices& s) { s.nextId = false, s.firstId = "65535"; }, ""},
        {[](SeriesChoices& s) { s.nextId = false, s.firstId = " 0 "; }, ""},
        {[](SeriesChoices& s) { s.nextId = false, s.firstId = "65536"; }, "Type the first ID"},
        {[](SeriesChoices& s) { s.nextId = false, s.firstId = ""; }, "Type the first ID"},
        {[](SeriesChoices& s) { s.nextId = false, s.firstId = "-1"; }, "Type the first ID"},
        {[](SeriesChoices& s) { s.firstId = "x"; }, ""},  // not asked for: not looked at
        {[](SeriesChoices& s) { s.count = "0"; }, "Type how many"},
        {[](SeriesChoices& s) { s.count = "12345678901"; }, "Type how many"},
        {[](SeriesChoices& s) { s.count = "", s.untilStopped = true; }, ""},
        {[](SeriesChoices& s) { s.setFile = "/gone.pcg"; }, "The parameter file '/gone.pcg'"},
        {[](SeriesChoices& s) { s.setFile = "/p.pcg"; }, ""},
        {[](SeriesChoices& s) { s.ports = {}; }, "Tick the COM port"},
    };
    for (const Case& k : cases) {
        SeriesChoices changed = c;
        k.change(changed);
        const Result<SeriesPlan> p = PlanOf(changed, exists);
        if (k.says.empty()) {
            EXPECT_TRUE(p.ok()) << p.error();
        } else {
            ASSERT_FALSE(p.ok()) << k.says;
            EXPECT_EQ(p.error().rfind(k.says, 0), 0u) << p.error();
        }
    }
    c.untilStopped = true;
    c.nextId = false;
    c.firstId = "301";
    c.verify = false;
    plan = PlanOf(c, exists);
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan->count, 0) << "until stopped";
    EXPECT_EQ(plan->firstId, 301);
    EXPECT_FALSE(plan->verify);
}

TEST_F(SeriesBench, TheDialogOpensOnTheNextIdTheCurrentPortAndSaysWhereIdsComeFrom) {
    FakeDialog view;
    SeriesDialog dialog(Parts(3), view);
    dialog.Open();
    EXPECT_TRUE(view.choices.nextId);
    EXPECT_TRUE(view.choices.verify);
    EXPECT_EQ(view.choices.ports, (std::array<bool, kPortCount>{false, false, true}));
    EXPECT_EQ(view.registry,
              "IDs from this bench's counter, records to /records/service.jsonl (next ID 20001)");
    EXPECT_EQ(view.totals, "Total: 0 terminals, 0 done, 0 failed, 0 IDs skipped");
    EXPECT_FALSE(view.running);

    SeriesDialogParts shared = Parts();
    shared.sharedRegistry = "postgresql://bench@db.shop/vk930 (password hidden)";
    FakeDialog sharedView;
    SeriesDialog sharedDialog(std::move(shared), sharedView);
    sharedDialog.Open();
    EXPECT_EQ(sharedView.registry.rfind("IDs and records: the shared registry "
                                        "postgresql://bench@db.shop/vk930 (password hidden)",
                                        0),
              0u)
        << sharedView.registry;

    // A choice that makes no series starts nothing and says why; the browse fills the file.
    view.browsed = "/tmp/chosen.pcg";
    dialog.OnBrowse(view.choices);
    EXPECT_EQ(view.choices.setFile, "/tmp/chosen.pcg");
    SeriesChoices wrong = view.choices;
    wrong.setFile = "/tmp/missing.pcg";
    dialog.OnStart(wrong);
    ASSERT_EQ(view.told.size(), 1u);
    EXPECT_EQ(view.told[0].rfind("The parameter file '/tmp/missing.pcg' does not exist", 0), 0u);
    EXPECT_FALSE(dialog.Running());
    EXPECT_FALSE(runner.Running());

    SeriesDialogParts none = Parts();
    none.registry = nullptr;
    none.registryProblem = "the settings store cannot be opened";
    FakeDialog noneView;
    SeriesDialog noneDialog(std::move(none), noneView);
    noneDialog.Open();
    noneDialog.OnStart(Choices({1}, 1, false));
    EXPECT_EQ(noneView.told, std::vector<std::string>{
                                 "No ID can be handed out: the settings store cannot be opened"});
    EXPECT_FALSE(noneDialog.Running());
}

TEST_F(SeriesBench, ThreeTerminalsOnOnePortAreProgrammedVerifiedNumberedOnceAndRecorded) {
    Port(1, "series=3&remove=4500&plugin=600");
    FakeDialog view;
    SeriesDialog dialog(Parts(), view);
    dialog.Open();
    dialog.OnStart(Choices({1}, 3));
    EXPECT_TRUE(view.running);
    RunToEnd(dialog);
    EXPECT_FALSE(view.running);
    EXPECT_TRUE(view.told.empty()) << view.told[0];

    EXPECT_EQ(IdsAt(1), (std::vector<int>{20001, 20002, 20003}));
    ASSERT_EQ(view.rows.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(view.rows[i].port, 1);
        EXPECT_EQ(view.rows[i].state, "done") << "the terminal was removed";
        EXPECT_EQ(view.rows[i].commId, std::to_string(20001 + i));
        EXPECT_FALSE(view.rows[i].time.empty());
        EXPECT_FALSE(view.rows[i].removeIt);
    }
    EXPECT_EQ(view.rows[3].state, "station finished");
    // Each terminal went through every step, and stood out while it was to be removed.
    std::vector<std::string> first;
    for (const SeriesRow& row : view.shown)
        if (row.commId.empty() || row.commId == "20001") first.push_back(row.state);
    const std::vector<std::string> steps = {
        "waiting for a terminal", "programming", "verifying", "numbering",
        "done: remove it",        "done"};
    ASSERT_GE(first.size(), steps.size());
    EXPECT_EQ(std::vector<std::string>(first.begin(), first.begin() + 6), steps);
    int standingOut = 0;
    for (const SeriesRow& row : view.shown) standingOut += row.removeIt;
    EXPECT_EQ(standingOut, 3);
    EXPECT_EQ(window.beeps, 3);
    EXPECT_EQ(view.totals, "Total: 3 terminals, 3 done, 0 failed, 0 IDs skipped");

    // The records: one per terminal, its ID written, its Set verified, in one series.
    int numbered = 0;
    for (const ServiceRecord& r : log.records) {
        EXPECT_EQ(r.seriesId, "s1");
        EXPECT_EQ(r.program, "test");
        if (!r.reservedId) continue;
        ++numbered;
        EXPECT_TRUE(r.reservedId->written);
        EXPECT_EQ(r.outcome, OutcomeClass::kSuccess);
    }
    EXPECT_EQ(numbered, 3);
    ExpectEveryReservedIdInATerminalOrExplained();

    // One station: the log's entries are the commands' own, without a port; the window's
    // form was left alone.
    const auto entries = window.Entries();
    ASSERT_FALSE(entries.empty());
    for (const auto& [text, kind] : entries) EXPECT_NE(text.rfind("COM1: ", 0), 0u) << text;
    EXPECT_EQ(window.formCalls, 0);
}

// A station is the window's program on one port: the settings' safeguards and form as a fresh
// program has them, its own port over the settings' one, its records in the series' ledger and
// its counted IDs from the window's registry.
TEST_F(SeriesBench, AStationStartsAsAFreshProgramOnItsPortAndRecordsIntoTheLedger) {
    Port(2, "");
    settings.values[kValueBackupBeforeSet] = 0;
    settings.values[kValueVerifyAfterSet] = 1;
    settings.values[kValueComPort] = 5;
    settings.values[kValueAllowEditSno] = 1;
    // The window's registry, apart from the one behind the ledger, to tell where each call goes.
    MemorySettings windowSettings;
    IdCounter windowCounter{windowSettings, lock};
    MemoryRecords windowLog;
    LocalRegistry windowRegistry{windowCounter, windowLog, "window"};
    ASSERT_TRUE(windowRegistry.StartAt(30001).ok());
    SeriesLedger ledger(registry, "s7");

    HostedStation station(2, true, Parts().kit, ledger, &windowRegistry, "");
    CVK900ConfigView& view = station.View();
    EXPECT_FALSE(view.Proof().backupBeforeSet);
    EXPECT_TRUE(view.Proof().verifyAfterSet);
    EXPECT_EQ(view.State().comPort, 2) << "the station's port, not the settings' COM5";
    EXPECT_EQ(view.State().startDir, "/") << "the initial update ran";
    EXPECT_FALSE(view.Form().ReadOnly(id::kCommId)) << "AllowEditSno reached the station's form";
    EXPECT_EQ(window.formCalls, 0) << "the window's own form is left alone";

    EXPECT_TRUE(view.OnReadDeviceInfo().ok());
    EXPECT_TRUE(view.OnNextCommId().ok());
    station.Ended();
    EXPECT_EQ(PageCommId(terminals.at(2)->Page(0)), 30001);
    EXPECT_TRUE(windowLog.records.empty()) << "records go to the ledger only";
    ASSERT_EQ(log.records.size(), 2u);
    EXPECT_EQ(log.records[0].command, "info");
    EXPECT_EQ(log.records[0].comPort, 2);
    EXPECT_EQ(log.records[0].program, "test");
    ASSERT_TRUE(log.records[1].reservedId);
    EXPECT_EQ(log.records[1].reservedId->commId, 30001);
    EXPECT_EQ(LastHandedOut(), 20000) << "the ledger's counter was not used by the form";
    for (const auto& [text, kind] : window.Entries())
        EXPECT_EQ(text.rfind("COM2: ", 0), 0u) << text;
}

// The series' safeguards are the settings', as for a single Set; the dialog's verify box is
// the one choice laid over them.
TEST_F(SeriesBench, TheVerifyBoxIsTheOnlyChoiceOverTheSettingsSafeguards) {
    struct Case {
        int backupSetting;
        int verifySetting;
        bool verifyBox;
    };
    for (const Case& c : {Case{0, 0, true}, Case{1, 1, false}, Case{1, 0, true}}) {
        SCOPED_TRACE("BackupBeforeSet=" + std::to_string(c.backupSetting) + " VerifyAfterSet=" +
                     std::to_string(c.verifySetting) + " box " + (c.verifyBox ? "on" : "off"));
        settings.values[kValueBackupBeforeSet] = c.backupSetting;
        settings.values[kValueVerifyAfterSet] = c.verifySetting;
        log.records.clear();
        Port(1, "series=1&remove=4500&plugin=600");
        FakeDialog view;
        SeriesDialog dialog(Parts(), view);
        dialog.Open();
        SeriesChoices choices = Choices({1}, 1);
        choices.verify = c.verifyBox;
        dialog.OnStart(choices);
        RunToEnd(dialog);

        const ServiceRecord* numbered = nullptr;
        for (const ServiceRecord& r : log.records)
            if (r.reservedId) numbered = &r;
        ASSERT_NE(numbered, nullptr);
        EXPECT_EQ(numbered->outcome, OutcomeClass::kSuccess) << numbered->detail;
        EXPECT_EQ(!numbered->backup.empty(), c.backupSetting == 1) << numbered->backup;
        bool verified = false;
        for (const RecordedEntry& e : numbered->entries) verified |= e.text == "Verifying...";
        EXPECT_EQ(verified, c.verifyBox);
    }
}

TEST_F(SeriesBench, TwoStationsShareTheCounterAndPrefixTheirLogEntriesWithTheirPorts) {
    Port(1, "series=3&remove=4500&plugin=600");
    Port(2, "series=3&remove=4500&plugin=900");
    FakeDialog view;
    SeriesDialog dialog(Parts(), view);
    dialog.Open();
    dialog.OnStart(Choices({1, 2}, 3));
    RunToEnd(dialog);

    std::set<int> ids;
    for (int port : {1, 2}) {
        ASSERT_EQ(IdsAt(port).size(), 3u);
        for (int id : IdsAt(port)) EXPECT_TRUE(ids.insert(id).second) << "ID " << id << " twice";
    }
    EXPECT_EQ(*ids.begin(), 20001);
    EXPECT_EQ(*ids.rbegin(), 20006);
    EXPECT_EQ(view.totals, "Total: 6 terminals, 6 done, 0 failed, 0 IDs skipped");
    std::map<int, int> done;
    for (const SeriesRow& row : view.rows)
        if (row.state == "done") ++done[row.port];
    EXPECT_EQ(done, (std::map<int, int>{{1, 3}, {2, 3}}));
    ExpectEveryReservedIdInATerminalOrExplained();
    for (const auto& [text, kind] : window.Entries())
        EXPECT_TRUE(text.rfind("COM1: ", 0) == 0 || text.rfind("COM2: ", 0) == 0) << text;
}

TEST_F(SeriesBench, StopWhileAStationWaitsAsksOnceAndSaysWhatTheSeriesLeaves) {
    Port(1, "series=1&remove=4500&plugin=600");
    FakeDialog view;
    SeriesDialog dialog(Parts(), view);
    dialog.Open();
    SeriesChoices until = Choices({1}, 1, false);
    until.untilStopped = true;
    dialog.OnStart(until);
    // The one terminal is numbered and removed; the station then waits for the next.
    ASSERT_TRUE(gui.ServeUntil(
        [&] { return view.rows.size() == 2 && view.rows[1].state == "waiting for a terminal"; }));
    view.answer = false;
    dialog.OnStop();
    EXPECT_TRUE(dialog.Running()) << "no: the series goes on";
    view.answer = true;
    EXPECT_FALSE(dialog.OnClose()) << "a close while running asks first";
    EXPECT_TRUE(view.stopping);
    dialog.OnStop();
    EXPECT_EQ(view.asked.size(), 2u) << "once stopping, Stop asks no more";
    RunToEnd(dialog);
    EXPECT_EQ(view.closes, 1) << "the close asked for comes once the stations stopped";
    EXPECT_EQ(view.rows[1].state, "station stopped: a stop was requested");
    EXPECT_EQ(IdsAt(1), std::vector<int>{20001});
    EXPECT_EQ(LastHandedOut(), 20001) << "no ID reserved for the terminal that never came";
    ExpectEveryReservedIdInATerminalOrExplained();
}

TEST_F(SeriesBench, StopDuringAnIdWriteLeavesTheIdInTheTerminalOrExplained) {
    Port(1, "series=3&remove=4500&plugin=600");
    FakeDialog view;
    SeriesDialog dialog(Parts(), view);
    dialog.Open();
    // The second terminal's restart wait after its ID was written: the stop comes then.
    int writes = 0;
    onSleep = [&](int, int ms, const StopRequest& stop) {
        if (ms != 4000 || ++writes != 2) return;
        gui.Post([&] { dialog.OnStop(); });
        const auto give_up = std::chrono::steady_clock::now() + 10s;
        while (!stop.Requested() && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(1ms);
    };
    dialog.OnStart(Choices({1}, 3, false));
    RunToEnd(dialog);
    EXPECT_EQ(view.asked.size(), 1u);
    ASSERT_EQ(view.told.size(), 1u);
    EXPECT_EQ(view.told[0].rfind("The series stopped. Total: 2 terminals", 0), 0u) << view.told[0];
    EXPECT_NE(view.told[0].find("COM1: stopped after its current step"), std::string::npos)
        << view.told[0];
    EXPECT_EQ(LastHandedOut(), 20002) << "the second terminal's ID was reserved, no third";
    EXPECT_EQ(IdsAt(1).front(), 20001);
    ExpectEveryReservedIdInATerminalOrExplained();
    // The second ID is either in its terminal or told as skipped, with why.
    const bool carried = terminals.at(1)->Page(0)[1] * 256 + terminals.at(1)->Page(0)[2] == 20002;
    if (!carried)
        EXPECT_NE(view.told[0].find("ID 20002 (COM1) was reserved and not written"),
                  std::string::npos)
            << view.told[0];
}

}  // namespace
}  // namespace vk930::test
