#pragma once
// What a COM port reaches, as one line of text used everywhere (command line, window,
// settings, tests):
//   sim[:STATEFILE][?OPTION&OPTION...]   the simulated terminal
//   none                                 nothing: Connect fails
//   anything else                        a serial device path
#include <cstddef>
#include <string>
#include <string_view>

#include "core/base/result.h"
#include "core/terminal/plug_schedule.h"

namespace vk930 {

// The longest firmware version text a terminal reports.
inline constexpr std::size_t kMaxVersionLength = 32;

// Where the simulated boot loader fails (firmware statuses 3 to 8).
enum class BootFault { kNone, kNo00, kNoAA, kStage1, kStage2, kStage3, kVerify };

// Faults of the simulated terminal itself.
struct TerminalFaults {
    bool failPage[2] = {false, false};  // fail=page0, fail=page1
    int failWriteAt = 0;                // fail=write:N, the N-th WriteByte (from 1); 0 = never
    int failTextAt = 0;                 // fail=text:N, the N-th WriteText
    int loseWriteAt = 0;     // fail=lose:N, the N-th write (WriteByte or WriteText) is acknowledged
                             // but not stored
    bool failReset = false;  // fail=reset: the terminal refuses to restart
    BootFault boot = BootFault::kNone;  // boot=...
};

// Faults on the wire, acted on by the simulator program serving a serial link.
struct WireFaults {
    bool junk = false;  // noise before answers
    int corruptAt = 0;  // the N-th answer has a bad CRC once
    int dropAt = 0;     // the N-th answer is lost once
    int stallFrom = 0;  // from the N-th request on, no answer
    int hangupAt = 0;   // the device disappears at the N-th request
};

struct TerminalSpec {
    std::string stateFile;  // empty: the terminal lives in memory
    int deviceType = 6;
    std::string version = "14";
    bool absent = false;
    TerminalFaults faults;
    WireFaults wire;
    TerminalSeriesSpec series;  // series=N&remove=MS&plugin=MS: terminals that come and go
    std::string traceFile;      // one line per link call is appended here
};

struct LinkSpec {
    enum class Kind { kSim, kNone, kDevice };
    Kind kind = Kind::kNone;
    TerminalSpec sim;        // for kSim
    std::string devicePath;  // for kDevice
};

// Parses a link spec; a bad one is an error naming the problem.
Result<LinkSpec> ParseLinkSpec(std::string_view text);

}  // namespace vk930
