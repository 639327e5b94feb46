#pragma once
// A series on several stations at once, one thread each, sharing one ledger: what
// `vk930ctl series` and both windows run. The front end makes each station's parts (its own
// host, state, link and view on one port) and the threads they run on; the job runs them,
// passes a stop on to every station, and tells each station's steps as values.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/commands/config_view.h"
#include "core/commands/outcome.h"
#include "core/commands/stop_request.h"
#include "core/series/series_station.h"
#include "core/series/station_event.h"

namespace vk930 {

// One port's station as its front end made it.
class StationParts {
  public:
    virtual ~StationParts() = default;
    virtual int Port() const = 0;
    // The station's view: on the station's own host, state and link; its recorder stores
    // into the job's ledger. The job requests its state's stop.
    virtual CVK900ConfigView& View() = 0;
    // One of the station's lines for people ("waiting for a terminal..."), without the port.
    // Called on the station's thread.
    virtual void Report(const std::string& line) = 0;
    // Called on the station's thread once the station has ended: closes what it opened there.
    virtual void Ended() {}
};

// Runs the stations' bodies, each on a thread of its own: a window's serial port may need a
// thread of its toolkit's.
class StationThreads {
  public:
    virtual ~StationThreads() = default;
    // Starts `body` on a new thread.
    virtual void Start(std::function<void()> body) = 0;
    // Waits until every body started has returned.
    virtual void JoinAll() = 0;
};

// How one station ended.
struct StationEnd {
    int port = 0;
    Outcome outcome;
};

class SeriesJob {
  public:
    // `options` apply to every station; its `events` are replaced by `events`, which also
    // hears each station's end (kEnded). Events come on the stations' threads.
    SeriesJob(SeriesLedger& ledger, SeriesStationOptions options, StationEvents events = {});

    // Runs a station on each of `stations` until every one has ended, and says how each did,
    // in their order. Blocks its caller. `outerStop`, when given, is watched as Stop() is (a
    // signal handler's flag).
    std::vector<StationEnd> Run(const std::vector<StationParts*>& stations, StationThreads& threads,
                                const StopRequest* outerStop = nullptr);

    // From any thread: every station stops after its current step.
    void Stop();
    bool StopRequested() const { return stop_.Requested(); }

  private:
    SeriesLedger& ledger_;
    SeriesStationOptions options_;
    StationEvents events_;
    StopRequest stop_;
    std::mutex mutex_;
    std::condition_variable changed_;
};

// The totals of a series' records.
struct SeriesTotals {
    int terminals = 0;
    int done = 0;
    int failed = 0;
    int skipped = 0;
};
SeriesTotals TotalsOf(const std::vector<SeriesRecord>& records);
// "Total: 3 terminals, 3 done, 0 failed, 0 IDs skipped"
std::string TotalsLine(const SeriesTotals& totals);
// A duration for people: "12.3 s".
std::string SecondsText(long long ms);
// The steady clock in milliseconds: the stations' clock unless a test gives its own.
long long SteadyClockMs();

// The outcome of a whole series: a stop's, else the first station's failure (named by its
// port), else a failure when any terminal failed.
Outcome SeriesOutcome(const std::vector<StationEnd>& ends,
                      const std::vector<SeriesRecord>& records);

}  // namespace vk930
