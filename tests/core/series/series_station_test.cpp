// Series stations on simulated terminals that come and go, on each station's virtual clock:
// every terminal numbered once with consecutive IDs, the counter never set back by several
// stations, and a reserved ID that was not written never reused and reported.
#include "core/series/series_station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include "core/commands/config_view.h"
#include "core/registry/local_registry.h"
#include "core/settings/registry_key.h"
#include "core/terminal/link_spec.h"
#include "core/terminal/sim_link.h"
#include "core/terminal/terminal_model.h"
#include "support/fake_host.h"
#include "support/memory_journal.h"
#include "support/memory_settings.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

// A station's link with a fault set off at a chosen call: the terminal stalls (stops
// answering while it is still plugged in, as a hung terminal does after the serial link's
// time-outs) or is pulled. The page copy answers as before.
class FaultingLink : public CLinkCtrl {
  public:
    explicit FaultingLink(CLinkCtrl& inner) : inner_(inner) {}
    // `act` runs once, just before the call that follows `calls` more calls to the terminal.
    void After(int calls, std::function<void()> act) {
        countdown_ = calls;
        act_ = std::move(act);
    }
    bool stalled = false;

    bool Connect(Short port, Short baud) override { return inner_.Connect(port, baud); }
    Short ReadInfo() override { return Reach() ? inner_.ReadInfo() : Short{0}; }
    Short GetDeviceType() override { return Reach() ? inner_.GetDeviceType() : Short{-1}; }
    std::string GetVersionText() override { return Reach() ? inner_.GetVersionText() : ""; }
    std::string GetCommIdText() override { return Reach() ? inner_.GetCommIdText() : ""; }
    bool ReadPage0(Short first, Short last) override {
        return Reach() && inner_.ReadPage0(first, last);
    }
    bool ReadPage1(Short first, Short last) override {
        return Reach() && inner_.ReadPage1(first, last);
    }
    Short GetByte(Short page, Short offset) override { return inner_.GetByte(page, offset); }
    std::string GetText(Short offset, Short page, Short length) override {
        return inner_.GetText(offset, page, length);
    }
    Short WriteByte(Short offset, Short value, Short page) override {
        return Reach() ? inner_.WriteByte(offset, value, page) : kWriteByteFailed;
    }
    bool WriteText(Short offset, Short page, const std::string& text) override {
        return Reach() && inner_.WriteText(offset, page, text);
    }
    void ResetDevice() override {
        if (Reach()) inner_.ResetDevice();
    }
    Short UploadFirmware(const std::string& path) override {
        return Reach() ? inner_.UploadFirmware(path) : Short{kUploadNoZero};
    }
    bool LastCallFailed() const override { return failed_ || inner_.LastCallFailed(); }
    const PageCopy* FetchedPages() const override { return inner_.FetchedPages(); }

  private:
    // Whether the call reaches the terminal.
    bool Reach() {
        if (act_ && countdown_-- == 0) std::exchange(act_, nullptr)();
        failed_ = stalled;
        return !stalled;
    }
    CLinkCtrl& inner_;
    int countdown_ = 0;
    std::function<void()> act_;
    bool failed_ = false;
};

// One port: its terminals on the host's clock, its own state and form.
struct TestStation {
    TestStation(const std::string& spec, MemorySettings& settings, int port) {
        Result<LinkSpec> parsed = ParseLinkSpec(spec);
        EXPECT_TRUE(parsed.ok()) << parsed.error();
        auto created = TerminalModel::Create(parsed->sim);
        EXPECT_TRUE(created.ok()) << created.error();
        terminal = std::move(created.value());
        terminal->SetClock([this] { return static_cast<std::int64_t>(host.clockMs); });
        link = std::make_unique<SimLink>(terminal);
        faulting = std::make_unique<FaultingLink>(*link);
        state.comPort = port;
        view = std::make_unique<CVK900ConfigView>(host, *faulting, settings, state);
    }
    Outcome Run(SeriesLedger& ledger, int count, std::optional<std::string> setFile = {}) {
        RecorderSetup setup;
        setup.sink = &ledger;
        setup.program = "test";
        view->SetRecorder(setup);
        view->Proof().stateFolder = stateFolder.Path();
        SeriesStationOptions options;
        options.count = count;
        options.setFile = std::move(setFile);
        options.clockMs = [this] { return host.clockMs; };
        return RunSeriesStation(*view, ledger, options,
                                [this](const std::string& line) { lines.push_back(line); });
    }
    std::vector<int> RemovedIds() const {
        std::vector<int> ids;
        for (const auto& pages : terminal->RemovedTerminals()) ids.push_back(PageCommId(pages[0]));
        return ids;
    }
    int Count(const std::string& line) const {
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    TempDir stateFolder;
    FakeHost host;
    AppState state;
    std::shared_ptr<TerminalModel> terminal;
    std::unique_ptr<SimLink> link;
    std::unique_ptr<FaultingLink> faulting;
    std::unique_ptr<CVK900ConfigView> view;
    std::vector<std::string> lines;
};

struct SeriesSetup {
    explicit SeriesSetup(int first = 20001) { EXPECT_TRUE(registry.StartAt(first).ok()); }
    std::int32_t StoredCommId() { return settings.values[kValueCommId]; }
    // Every gap in the IDs handed out is a skipped record, and no ID is written twice.
    void ExpectEveryIdExplained(int last) {
        std::map<int, std::string> fate;
        for (const ServiceRecord& r : log.records) {
            EXPECT_EQ(r.seriesId, "s1");
            if (!r.reservedId) continue;
            EXPECT_TRUE(
                fate.emplace(r.reservedId->commId, r.reservedId->written ? "written" : "skipped")
                    .second)
                << "ID " << r.reservedId->commId << " recorded twice";
            if (!r.reservedId->written) EXPECT_FALSE(r.reservedId->skipReason.empty());
        }
        for (int id = 20001; id <= last; ++id) EXPECT_TRUE(fate.count(id)) << "ID " << id;
    }
    MemorySettings settings;
    FreeLock lock;
    IdCounter counter{settings, lock};
    MemoryRecords log;
    LocalRegistry registry{counter, log, "memory"};
    SeriesLedger ledger{registry, "s1"};
};

TEST(SeriesStation, TenTerminalsOnOnePortAreNumberedOnceEachWithConsecutiveIds) {
    SeriesSetup s;
    TestStation station("sim?series=10&remove=5000&plugin=700", s.settings, 1);
    const Outcome outcome = station.Run(s.ledger, 10);
    ASSERT_TRUE(outcome.ok()) << outcome.detail;
    // The station waits for the removal of the last terminal too.
    const std::vector<int> ids = station.RemovedIds();
    ASSERT_EQ(ids.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ids[i], 20001 + i);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(station.Count("terminal " + std::to_string(20001 + i) + " done: remove it"), 1);
    EXPECT_EQ(station.Count("waiting for a terminal..."), 10);
    EXPECT_EQ(s.StoredCommId(), 20010);
    for (const SeriesRecord& r : s.ledger.Records()) {
        EXPECT_TRUE(r.ok() && r.verified) << r.commId << " " << r.result;
        EXPECT_EQ(r.port, 1);
    }
    // The series writes the operation log exactly as the CommID button does.
    EXPECT_EQ(station.host.Count("log 2 commID written successful. Resetting..."), 10);
    ASSERT_EQ(s.log.records.size(), 10u);
    for (const ServiceRecord& r : s.log.records) {
        EXPECT_EQ(r.command, "series");
        EXPECT_EQ(r.outcome, OutcomeClass::kSuccess);
    }
    s.ExpectEveryIdExplained(20010);
}

TEST(SeriesStation, WithAFileEachTerminalIsBackedUpProgrammedVerifiedAndRecorded) {
    SeriesSetup s;
    TestStation station("sim?series=3&remove=5000&plugin=700", s.settings, 1);
    WriteFile(station.stateFolder.File("p.pcg"), "HEADING:SERIES\r\nEND\r\n");
    const Outcome outcome = station.Run(s.ledger, 3, station.stateFolder.File("p.pcg"));
    ASSERT_TRUE(outcome.ok()) << outcome.detail;
    ASSERT_EQ(s.log.records.size(), 3u);
    for (const ServiceRecord& r : s.log.records) {
        EXPECT_FALSE(r.backup.empty()) << "a backup before every Set";
        EXPECT_EQ(r.file, station.stateFolder.File("p.pcg"));
        EXPECT_TRUE(r.reservedId && r.reservedId->written);
    }
    EXPECT_EQ(station.host.Count("log 2 Verifying..."), 3);
    for (const SeriesRecord& r : s.ledger.Records()) EXPECT_TRUE(r.verified);
    s.ExpectEveryIdExplained(20003);
}

TEST(SeriesStation, ASetThatFailsVerificationGetsNoId) {
    SeriesSetup s;
    // The first terminal acknowledges a write it does not keep.
    TestStation station("sim?series=2&remove=5000&plugin=700&fail=lose:1", s.settings, 1);
    WriteFile(station.stateFolder.File("p.pcg"), "HEADING:SERIES\r\nEND\r\n");
    bool pull = true;
    station.host.onEvent = [&](const std::string& event) {
        if (pull && event.rfind("log 0 Verification failed", 0) == 0) {
            pull = false;
            station.terminal->RemoveTerminal();
        }
    };
    const Outcome outcome = station.Run(s.ledger, 2, station.stateFolder.File("p.pcg"));
    EXPECT_FALSE(outcome.ok());
    const std::vector<SeriesRecord> records = s.ledger.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].commId, -1) << "no ID for a terminal whose Set failed";
    EXPECT_EQ(records[1].commId, 20001) << "so the next one gets the first";
    EXPECT_TRUE(records[1].ok());
    s.ExpectEveryIdExplained(20001);
}

TEST(SeriesStation, FourStationsSharingTheCounterNeverHandOutAnIdTwiceNorSetItBack) {
    SeriesSetup s;
    std::vector<std::unique_ptr<TestStation>> stations;
    for (int port = 1; port <= 4; ++port)
        stations.push_back(
            std::make_unique<TestStation>("sim?series=3&remove=4500&plugin=600", s.settings, port));
    std::vector<std::thread> threads;
    std::vector<Outcome> outcomes(4);
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&, i] { outcomes[i] = stations[i]->Run(s.ledger, 3); });
    for (std::thread& t : threads) t.join();
    std::set<int> ids;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(outcomes[i].ok()) << outcomes[i].detail;
        for (int id : stations[i]->RemovedIds())
            EXPECT_TRUE(ids.insert(id).second) << "ID " << id << " twice";
    }
    ASSERT_EQ(ids.size(), 12u);
    EXPECT_EQ(*ids.begin(), 20001);
    EXPECT_EQ(*ids.rbegin(), 20012);
    // No station's write stored its own ID over a later reservation.
    EXPECT_EQ(s.StoredCommId(), 20012);
}

TEST(SeriesStation, AnIdWhoseWriteFailedIsSkippedReportedAndNeverReused) {
    SeriesSetup s;
    // The second terminal's ID write fails: its ID is reserved, not written.
    TestStation station("sim?series=3&remove=4500&plugin=600&fail=write:3", s.settings, 1);
    // A terminal that was not reset is not removed on the clock: the technician pulls it.
    bool pull = false;
    station.host.onEvent = [&](const std::string& event) {
        if (event.rfind("log 0 Cannot write ID!", 0) == 0) pull = true;
        if (pull && event.rfind("sleep", 0) == 0) {
            pull = false;
            station.terminal->RemoveTerminal();
        }
    };
    const Outcome outcome = station.Run(s.ledger, 3);
    EXPECT_FALSE(outcome.ok());
    const std::vector<SeriesRecord> records = s.ledger.Records();
    ASSERT_EQ(records.size(), 3u);
    std::set<int> reserved;
    for (const SeriesRecord& r : records) EXPECT_TRUE(reserved.insert(r.commId).second);
    int skipped = 0;
    for (const SeriesRecord& r : records)
        if (!r.ok()) {
            ++skipped;
            EXPECT_EQ(r.result.rfind("skipped: ", 0), 0u) << r.result;
        }
    EXPECT_EQ(skipped, 1);
    EXPECT_EQ(s.StoredCommId(), 20003);
    s.ExpectEveryIdExplained(20003);
}

TEST(SeriesStation, AStopWhileWaitingEndsTheSeriesCleanly) {
    SeriesSetup s;
    TestStation station("sim?series=1&remove=4500&plugin=600", s.settings, 1);
    // One terminal only: the station waits for a second until the stop.
    station.host.onEvent = [&station](const std::string&) {
        if (station.host.clockMs > 20000) station.state.stop.Request();
    };
    const Outcome outcome = station.Run(s.ledger, 2);
    EXPECT_EQ(outcome.outcomeClass, OutcomeClass::kInterrupted);
    EXPECT_EQ(station.Count("terminal 20001 done: remove it"), 1);
    EXPECT_EQ(station.Count("series stopped"), 1);
    EXPECT_EQ(s.ledger.Records().size(), 1u);
}

TEST(SeriesStation, AnotherDeviceIsSkippedWithoutAnId) {
    SeriesSetup s;
    TestStation station("sim?type=5", s.settings, 1);
    station.host.onEvent = [&station](const std::string&) {
        if (station.host.clockMs > 3000) station.state.stop.Request();
    };
    EXPECT_EQ(station.Run(s.ledger, 1).outcomeClass, OutcomeClass::kInterrupted);
    EXPECT_TRUE(s.ledger.Records().empty());
    EXPECT_EQ(s.StoredCommId(), 20000);
    ASSERT_FALSE(s.log.records.empty()) << "the refused device has its record";
    EXPECT_EQ(s.log.records[0].outcome, OutcomeClass::kOtherDevice);
    EXPECT_FALSE(s.log.records[0].reservedId);
    ASSERT_FALSE(station.lines.size() < 2);
    EXPECT_EQ(station.lines[1].rfind("not a hand terminal", 0), 0u) << station.lines[1];
}

// Where the first terminal of a series meets its fault, and what must become of its ID.
struct StepFault {
    std::string name;
    std::string armedBy;  // the host event after which the fault is set off...
    std::string firedBy;  // ...at the first event starting so after it (empty: at once)
    int callsFirst = 0;   // link calls to the terminal let through before the fault
    bool pulled = false;  // the terminal is pulled; otherwise it stalls
    bool idReserved = true;
    std::string reasonStart;  // of the skipped ID's reason
};

// Virtual time after which a station that has not finished is stopped: far beyond two terminals.
constexpr long long kGiveUpMs = 120000;

const std::vector<StepFault>& StepFaults() {
    static const std::vector<StepFault> kFaults = {
        {"stall in the Set", "log 2 Writing parameters to Device..", "", 0, false, false, ""},
        {"stall in the verification", "log 2 Verifying...", "", 0, false, false, ""},
        // A write that got no answer may have left the new ID, the old one or a mix in the
        // terminal, which no longer answers: the reason names them.
        {"stall at the ID write", "text 1026 20001", "log 2 Reading Info OK", 0, false, true,
         "the write failed and the terminal no longer answers: it carries 20001, 1 or 19969"},
        {"stall after the high byte", "text 1026 20001", "log 2 Reading Info OK", 1, false, true,
         "the write failed and the terminal no longer answers: it carries 20001, 1 or 19969"},
        {"stall in the identification after the ID", "log 2 commID written successful.", "", 0,
         false, true, "not confirmed: "},
        {"pulled between the ID's bytes", "text 1026 20001", "log 2 Reading Info OK", 1, true, true,
         "the write failed and the terminal no longer answers: it carries 20001, 1 or 19969"},
    };
    return kFaults;
}

TEST(SeriesStation, AFaultAtEachStepOfATerminalLeavesEveryIdOnceAndEveryGapExplained) {
    for (const StepFault& fault : StepFaults()) {
        SCOPED_TRACE(fault.name);
        SeriesSetup s;
        TestStation station("sim?series=2&remove=5000&plugin=700", s.settings, 1);
        WriteFile(station.stateFolder.File("p.pcg"), "HEADING:SERIES\r\nEND\r\n");
        bool armed = false, fired = false, pulled = false;
        std::size_t linesAtFault = 0;
        const auto fire = [&] {
            fired = true;
            linesAtFault = station.lines.size();
            station.faulting->After(fault.callsFirst, [&] {
                if (fault.pulled)
                    station.terminal->RemoveTerminal();
                else
                    station.faulting->stalled = true;
            });
        };
        station.host.onEvent = [&](const std::string& event) {
            // A station that never gets past the fault is stopped, not left to loop.
            if (station.host.clockMs > kGiveUpMs) station.state.stop.Request();
            if (!armed && event.rfind(fault.armedBy, 0) == 0) {
                armed = true;
                if (fault.firedBy.empty()) fire();
            } else if (armed && !fired && event.rfind(fault.firedBy, 0) == 0) {
                fire();
            } else if (station.faulting->stalled && !pulled && event == "sleep 500" &&
                       station.lines.size() > linesAtFault) {
                // The station said what failed; the technician pulls the hung terminal.
                pulled = true;
                station.faulting->stalled = false;
                station.terminal->RemoveTerminal();
            }
        };
        const Outcome outcome = station.Run(s.ledger, 2, station.stateFolder.File("p.pcg"));
        EXPECT_TRUE(fired) << "the step was never reached";
        EXPECT_LE(station.host.clockMs, kGiveUpMs) << "the station did not get past the fault";

        EXPECT_NE(outcome.outcomeClass, OutcomeClass::kSuccess);
        EXPECT_NE(outcome.outcomeClass, OutcomeClass::kInterrupted);

        const std::vector<SeriesRecord> records = s.ledger.Records();
        ASSERT_EQ(records.size(), 2u);
        if (fault.idReserved) {
            EXPECT_EQ(records[0].commId, 20001);
            EXPECT_EQ(records[0].fate, SeriesFate::kSkipped) << records[0].result;
            EXPECT_EQ(records[0].result.rfind("skipped: " + fault.reasonStart, 0), 0u)
                << records[0].result;
        } else {
            EXPECT_EQ(records[0].commId, -1) << "no ID before the Set is verified";
            EXPECT_EQ(records[0].fate, SeriesFate::kFailed) << records[0].result;
        }
        // The next terminal proceeds, with the next ID.
        EXPECT_EQ(records[1].fate, SeriesFate::kDone) << records[1].result;
        EXPECT_EQ(records[1].commId, fault.idReserved ? 20002 : 20001);

        // No ID is in two terminals; the fault's terminal carries at most its own ID.
        const std::vector<int> carried = station.RemovedIds();
        ASSERT_EQ(carried.size(), 2u);
        EXPECT_EQ(carried[1], records[1].commId);
        EXPECT_NE(carried[0], carried[1]);
        EXPECT_TRUE(carried[0] < 20001 || carried[0] == 20001) << carried[0];
        s.ExpectEveryIdExplained(records[1].commId);
        for (const ServiceRecord& r : s.log.records) {
            if (r.reservedId && !r.reservedId->written) {
                EXPECT_EQ(r.reservedId->skipReason.rfind(fault.reasonStart, 0), 0u)
                    << r.reservedId->skipReason;
            }
        }
    }
}

TEST(SeriesStation, AnIdWhoseBytesWereTakenButNotConfirmedSaysTheTerminalMayCarryIt) {
    SeriesSetup s;
    // The reset is refused after both bytes were acknowledged.
    TestStation station("sim?series=2&remove=4500&plugin=600&fail=reset", s.settings, 1);
    bool pull = false;
    station.host.onEvent = [&](const std::string& event) {
        if (event.rfind("log 0 Connection Failure", 0) == 0) pull = true;
        if (pull && event == "sleep 500") {
            pull = false;
            station.terminal->RemoveTerminal();
        }
    };
    station.Run(s.ledger, 2);
    const std::vector<SeriesRecord> records = s.ledger.Records();
    ASSERT_GE(records.size(), 1u);
    EXPECT_EQ(records[0].fate, SeriesFate::kSkipped);
    EXPECT_EQ(records[0].commId, 20001);
    // It does carry it: the skipped record must send the technician to check it.
    EXPECT_EQ(station.RemovedIds().at(0), 20001);
    ASSERT_FALSE(s.log.records.empty());
    ASSERT_TRUE(s.log.records[0].reservedId);
    EXPECT_EQ(s.log.records[0].reservedId->skipReason,
              "not confirmed: the reset was not confirmed; the terminal may carry this ID");
    EXPECT_EQ(station.Count("ID 20001 skipped: not confirmed: the reset was not confirmed; the "
                            "terminal may carry this ID; terminal left as it is, remove it"),
              1);
}

TEST(SeriesStation, AtTheTopOfTheCounterTheSeriesStopsBeforeAnIdThatDoesNotFit) {
    SeriesSetup s(65534);
    TestStation station("sim?series=3&remove=4500&plugin=600", s.settings, 1);
    const Outcome outcome = station.Run(s.ledger, 3);
    EXPECT_EQ(outcome.outcomeClass, OutcomeClass::kRefused);
    EXPECT_NE(outcome.detail.find("65535 was the last ID"), std::string::npos) << outcome.detail;
    EXPECT_EQ(station.RemovedIds(), (std::vector<int>{65534, 65535}));
    EXPECT_EQ(station.Count("terminal 65535 done: remove it"), 1);
    // The third terminal is not waited for, let alone programmed.
    EXPECT_EQ(station.Count("waiting for a terminal..."), 2);
    ASSERT_FALSE(station.lines.empty());
    EXPECT_EQ(station.lines.back(), outcome.detail);
    EXPECT_EQ(s.StoredCommId(), 65535);
    ASSERT_EQ(s.ledger.Records().size(), 2u);
    for (const SeriesRecord& r : s.ledger.Records()) EXPECT_TRUE(r.ok()) << r.result;
    // A series started there again is refused before any terminal.
    EXPECT_FALSE(s.registry.Reserve("s2").ok());
}

// A bench with a journal of IDs, whose records can be made to fail.
struct JournalSetup {
    JournalSetup() { EXPECT_TRUE(registry.StartAt(20001).ok()); }
    class FailingLog : public ServiceLogSink {
      public:
        Status Append(const ServiceRecord& record) override {
            if (failFrom && static_cast<int>(records.size()) + 1 >= failFrom)
                return Error{"'/bench/service-log.jsonl': Is a directory"};
            records.push_back(record);
            return {};
        }
        std::string Path() const override { return "/bench/service-log.jsonl"; }
        std::vector<ServiceRecord> records;
        int failFrom = 0;  // the n-th record and all after it are not stored; 0: none
    };
    MemorySettings settings;
    FreeLock lock;
    MemoryJournal journal;
    IdCounter counter{settings, lock, &journal};
    FailingLog log;
    LocalRegistry registry{counter, log, "memory"};
    std::vector<std::string> unrecorded;
    SeriesLedger ledger{registry, "s2",
                        [this](const std::string& fate) { unrecorded.push_back(fate); }};
};

// A run killed between the ID write and its record left the reservation open; the terminal
// still in the cradle carries it: it is not numbered again, and its reservation is resolved.
TEST(SeriesStation, ATerminalCarryingAnOpenReservationIsNotRenumbered) {
    JournalSetup s;
    ASSERT_EQ(*s.registry.Reserve("s1"), 20001);
    TestStation station("sim?series=2&remove=4500&plugin=600", s.settings, 1);
    station.terminal->WriteByte(0, 1, 20001 >> 8);
    station.terminal->WriteByte(0, 2, 20001 & 0xff);
    station.terminal->Reset();  // it restarted after the write, then the run was killed
    const Outcome outcome = station.Run(s.ledger, 2);
    ASSERT_TRUE(outcome.ok()) << outcome.detail;
    EXPECT_EQ(station.RemovedIds(), (std::vector<int>{20001, 20002}));
    EXPECT_EQ(station.terminal->WriteByteCount(), 2 + 2) << "only the second terminal written";
    EXPECT_EQ(s.journal.StateOf(20001), "written");
    ASSERT_GE(s.journal.entries.size(), 3u);
    EXPECT_EQ(s.journal.entries[2].state, IdState::kWritten);
    EXPECT_EQ(s.journal.entries[2].seriesId, "s1") << "resolved in the series that reserved it";
    EXPECT_EQ(station.Count("terminal 20001 carries the ID reserved for it (reserved): recorded "
                            "as written, not numbered again: remove it"),
              1);
    ASSERT_EQ(s.ledger.Records().size(), 2u);
    EXPECT_EQ(s.ledger.Records()[0].result, "done: it carried its reserved ID already");
}

// No record, no next ID: once a record cannot be stored the station stops before reserving
// again, and the fate of the ID that has no record is handed on.
TEST(SeriesStation, ARecordThatCannotBeStoredStopsTheSeriesBeforeTheNextId) {
    JournalSetup s;
    s.log.failFrom = 1;
    TestStation station("sim?series=3&remove=4500&plugin=600", s.settings, 1);
    const Outcome outcome = station.Run(s.ledger, 3);
    EXPECT_EQ(outcome.outcomeClass, OutcomeClass::kFile);
    EXPECT_EQ(station.terminal->Page(0)[1] * 256 + station.terminal->Page(0)[2], 20001);
    EXPECT_EQ(s.journal.StateOf(20001), "written");
    EXPECT_EQ(s.journal.StateOf(20002), "") << "no second reservation";
    ASSERT_EQ(s.unrecorded.size(), 1u);
    EXPECT_EQ(s.unrecorded[0],
              "ID 20001 written (COM1, series s2); its record is not stored: "
              "'/bench/service-log.jsonl': Is a directory");
    EXPECT_EQ(station.lines.back(),
              "records cannot be stored (the record of ID 20001: '/bench/service-log.jsonl': Is "
              "a directory): the series stops before handing out another ID");
}

}  // namespace
}  // namespace vk930::test
