#pragma once
// One station of a series: on one port, terminal after terminal, wait for it, identify it,
// program the file, give it the next ID from the shared counter, check the ID reads back, and
// wait for its removal. Several stations (threads) may share one SeriesLedger.
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/commands/command_context.h"
#include "core/commands/outcome.h"
#include "core/settings/id_counter.h"

namespace vk930 {

// What became of one terminal (or of one reserved ID) of a series.
struct SeriesRecord {
    int commId = -1;  // -1: no ID was reserved for it
    int port = 0;
    std::string file;       // the parameter file programmed; empty: none
    bool verified = false;  // the identification read the written ID back
    long long durationMs = 0;
    bool ok = false;
    std::string result;  // "done", or "skipped: " / "failed: " and why
};

// Where a series records each terminal beside its summary (a service log). The default keeps
// nothing.
class SeriesRecorder {
  public:
    virtual ~SeriesRecorder() = default;
    virtual void Record(const SeriesRecord& record) { (void)record; }
};

// What the stations of one series share: the counter, the IDs written, every record. Safe to
// use from several threads.
class SeriesLedger {
  public:
    SeriesLedger(IdCounter& counter, SeriesRecorder& recorder)
        : counter_(counter), recorder_(recorder) {}

    Result<int> Reserve();
    bool AlreadyWritten(int commId);
    void NoteWritten(int commId);
    void Add(const SeriesRecord& record);
    std::vector<SeriesRecord> Records();

  private:
    std::mutex mutex_;
    IdCounter& counter_;
    SeriesRecorder& recorder_;
    std::set<int> written_;
    std::vector<SeriesRecord> records_;
};

struct SeriesStationOptions {
    int count = 0;                       // terminals to number at this station; 0: until a stop
    std::optional<std::string> setFile;  // programmed before the ID
    std::function<long long()> clockMs;  // for durations; unset: none measured
};

// The station's own lines ("waiting for a terminal...", "terminal 301 done: remove it"), whole,
// without the port prefix, which the caller adds.
using SeriesReport = std::function<void(const std::string& line)>;

// Runs the station until its count is reached, a stop is requested, or the counter runs out.
// Success when every terminal it handled was numbered; kInterrupted on a stop.
Outcome RunSeriesStation(const CommandContext& ctx, SeriesLedger& ledger,
                         const SeriesStationOptions& options, const SeriesReport& report);

}  // namespace vk930
