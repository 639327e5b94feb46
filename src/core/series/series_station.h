#pragma once
// One station of a series: on one port, terminal after terminal, wait for it, identify it,
// program the file (backed up and verified), give it the next ID from the shared registry,
// check the ID reads back, record it, and wait for its removal. Several stations (threads)
// may share one SeriesLedger.
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/commands/config_view.h"
#include "core/commands/outcome.h"
#include "core/registry/terminal_registry.h"
#include "core/series/station_event.h"

namespace vk930 {

// What became of one terminal of a series; the summary's totals count these.
enum class SeriesFate {
    kDone,     // programmed, numbered and its ID read back
    kFailed,   // no ID was reserved for it (the Set failed, no ID was left, a stop came)
    kSkipped,  // an ID was reserved for it and not confirmed: skipped, never handed out again
};

const char* ToString(SeriesFate fate);

// What became of one terminal (or of one reserved ID) of a series, for the summary.
struct SeriesRecord {
    int commId = -1;  // -1: no ID was reserved for it
    int port = 0;
    std::string file;       // the parameter file programmed; empty: none
    bool verified = false;  // the Set read back (when verified) and the ID read back
    long long durationMs = 0;
    SeriesFate fate = SeriesFate::kFailed;
    std::string result;  // "done", or "skipped: " / "failed: " and why, for people
    bool ok() const { return fate == SeriesFate::kDone; }
};

// Told the fate of a reserved ID that no record could hold, so that it is kept somewhere.
using UnrecordedFate = std::function<void(const std::string& line)>;

// What the stations of one series share: the registry (its counter and its records), the IDs
// this series wrote, the summary. Safe to use from several threads: every call into the
// registry is made under one lock, never held across a link call. Once a record or an ID's fate
// cannot be stored, no further ID is handed out.
class SeriesLedger : public TerminalRegistry {
  public:
    SeriesLedger(TerminalRegistry& registry, std::string seriesId, UnrecordedFate unrecorded = {})
        : registry_(registry), seriesId_(std::move(seriesId)), unrecorded_(std::move(unrecorded)) {}

    const std::string& SeriesId() const { return seriesId_; }
    // Why no ID may be handed out any more (a record was not stored); nullopt while records are.
    std::optional<std::string> RecordsBroken();
    // A fate no record holds: said through the UnrecordedFate, and no ID is handed out again.
    void NoteUnrecorded(const std::string& why, const std::string& fate);

    // The registry's calls, each under the ledger's lock; Reserve refuses once records broke.
    Status StartAt(int first, bool force = false) override;
    Result<int> Reserve(const std::string& seriesId,
                        std::optional<int> oldId = std::nullopt) override;
    Status MarkWritten(int commId, const std::string& seriesId) override;
    Status MarkSkipped(int commId, const std::string& seriesId, const std::string& reason) override;
    Status MarkMayCarry(int commId, const std::string& seriesId, const std::string& reason,
                        const std::vector<int>& possible) override;
    Result<std::optional<JournalEntry>> RecordedFate(int commId) override;
    Result<FoundRecords> Find(const RecordQuery& query) override;
    Result<RegistrySummary> Summarize() override;
    std::string Describe() const override { return registry_.Describe(); }

    // Why no more IDs can be handed out (the last one went to a terminal); nullopt while some
    // are left, as far as this series knows.
    std::optional<std::string> NoIdLeft();
    // The ID's bytes may be in a terminal now, whatever failed after: never numbered again.
    void NoteWritten(int commId);
    bool AlreadyWritten(int commId);
    void Add(const SeriesRecord& record);
    std::vector<SeriesRecord> Records();
    // The terminals' service records go to the registry through here.
    Status Append(const ServiceRecord& record) override;
    std::string Path() const override { return registry_.Path(); }
    // Where the counter lives, for messages about it: the settings file, a database address.
    std::string Where() const { return registry_.Describe(); }

  private:
    std::mutex mutex_;
    TerminalRegistry& registry_;
    const std::string seriesId_;
    std::set<int> written_;
    // The summary's lines have a lock of their own: a window reads them while a station waits
    // on the registry (whose notice may wait for that window) under the lock above.
    std::mutex recordsMutex_;
    std::vector<SeriesRecord> records_;
    bool lastIdHandedOut_ = false;
    UnrecordedFate unrecorded_;
    std::optional<std::string> recordsBroken_;
};

struct SeriesStationOptions {
    int count = 0;                       // terminals to number at this station; 0: until a stop
    std::optional<std::string> setFile;  // programmed before the ID
    bool verify = true;                  // the Set's bytes read back and compared
    std::function<long long()> clockMs;  // for durations; unset: none measured
    StationEvents events;                // each step as it starts; unset: not told
};

// The station's own lines ("waiting for a terminal...", "terminal 301 done: remove it"), whole,
// without the port prefix, which the caller adds.
using SeriesReport = std::function<void(const std::string& line)>;

// Runs the station on `view` (its port, state, recorder and safeguards) until its count is
// reached, a stop is requested, or the registry gives no more IDs. The view's recorder must
// store into `ledger`. Success when every terminal it handled was numbered; kInterrupted on a
// stop.
Outcome RunSeriesStation(CVK900ConfigView& view, SeriesLedger& ledger,
                         const SeriesStationOptions& options, const SeriesReport& report);

}  // namespace vk930
