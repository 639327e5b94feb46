// Several series stations on threads of their own, and the totals of what they did.
#include "core/series/series_job.h"

#include <chrono>
#include <iomanip>
#include <sstream>

namespace vk930 {

namespace {

// How often a stop flag that nobody signals (a signal handler's) is looked at.
constexpr auto kStopPollInterval = std::chrono::milliseconds(20);

}  // namespace

SeriesJob::SeriesJob(SeriesLedger& ledger, SeriesStationOptions options, StationEvents events)
    : ledger_(ledger), options_(std::move(options)), events_(std::move(events)) {
    options_.events = events_;
}

std::vector<StationEnd> SeriesJob::Run(const std::vector<StationParts*>& stations,
                                       StationThreads& threads, const StopRequest* outerStop) {
    std::vector<StationEnd> ends(stations.size());
    std::size_t running = stations.size();
    for (std::size_t i = 0; i < stations.size(); ++i) {
        StationParts* station = stations[i];
        ends[i].port = station->Port();
        threads.Start([this, station, &end = ends[i], &running] {
            end.outcome =
                RunSeriesStation(station->View(), ledger_, options_,
                                 [station](const std::string& line) { station->Report(line); });
            station->Ended();
            if (events_)
                events_({station->Port(), StationStep::kEnded, -1, 0,
                         end.outcome.ok() ? std::string() : end.outcome.detail});
            std::lock_guard<std::mutex> lock(mutex_);
            --running;
            changed_.notify_all();
        });
    }
    // A stop reaches every station; each ends at its next step.
    std::unique_lock<std::mutex> lock(mutex_);
    while (running > 0) {
        if (stop_.Requested() || (outerStop && outerStop->Requested()))
            for (StationParts* station : stations) station->View().Context().state.stop.Request();
        changed_.wait_for(lock, kStopPollInterval);
    }
    lock.unlock();
    threads.JoinAll();
    return ends;
}

void SeriesJob::Stop() {
    stop_.Request();
    std::lock_guard<std::mutex> lock(mutex_);
    changed_.notify_all();
}

SeriesTotals TotalsOf(const std::vector<SeriesRecord>& records) {
    SeriesTotals t;
    t.terminals = static_cast<int>(records.size());
    for (const SeriesRecord& r : records) {
        switch (r.fate) {
            case SeriesFate::kDone:
                ++t.done;
                break;
            case SeriesFate::kSkipped:
                ++t.skipped;
                break;
            case SeriesFate::kFailed:
                ++t.failed;
                break;
        }
    }
    return t;
}

std::string TotalsLine(const SeriesTotals& t) {
    std::ostringstream s;
    s << "Total: " << t.terminals << (t.terminals == 1 ? " terminal, " : " terminals, ") << t.done
      << " done, " << t.failed << " failed, " << t.skipped
      << (t.skipped == 1 ? " ID skipped" : " IDs skipped");
    return s.str();
}

long long SteadyClockMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string SecondsText(long long ms) {
    std::ostringstream s;
    s << std::fixed << std::setprecision(1) << static_cast<double>(ms) / 1000.0 << " s";
    return s.str();
}

Outcome SeriesOutcome(const std::vector<StationEnd>& ends,
                      const std::vector<SeriesRecord>& records) {
    Outcome result = Outcome::Success();
    for (const StationEnd& end : ends) {
        if (end.outcome.outcomeClass == OutcomeClass::kInterrupted) return end.outcome;
        if (!end.outcome.ok() && result.ok())
            result = Outcome::Failure(end.outcome.outcomeClass,
                                      "COM" + std::to_string(end.port) + ": " + end.outcome.detail);
    }
    for (const SeriesRecord& r : records)
        if (!r.ok() && result.ok())
            result = Outcome::Failure(OutcomeClass::kCommunication, "a terminal failed");
    return result;
}

}  // namespace vk930
