#pragma once
// What a series station is doing, as values a front end shows (a table row, a colour, a beep)
// without reading the station's lines for people.
#include <functional>
#include <string>

namespace vk930 {

enum class StationStep {
    kWaiting,      // for a terminal to answer at the port
    kProgramming,  // the parameter file's Set (with its backup)
    kVerifying,    // the Set's bytes read back
    kNumbering,    // an ID reserved, written and read back
    kDone,         // numbered: the terminal is to be removed
    kRemoved,      // the numbered terminal was taken away
    kFailed,       // no ID went to this terminal; `why` says what failed
    kSkipped,      // an ID was given up, or the terminal was not numbered; `why` says why
    kEnded,        // the station stopped; `why` is empty when it numbered all it was to
};

struct StationEvent {
    int port = 0;
    StationStep step = StationStep::kWaiting;
    int commId = -1;           // the terminal's (or the skipped) ID; -1: none
    long long durationMs = 0;  // kDone, kFailed, kSkipped: the terminal's time at the station
    std::string why;
    bool operator==(const StationEvent&) const = default;
};

// Called on the station's thread.
using StationEvents = std::function<void(const StationEvent& event)>;

}  // namespace vk930
