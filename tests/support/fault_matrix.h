#pragma once
// The fault matrix: every command of the matrix over the serial link to vk930-sim, with each
// wire fault of the simulator at each request position the command reaches. A case holds
// when the command ends within its bound, a fault the link absorbs (junk, corrupt, drop)
// leaves the same outcome as a healthy run, a fault it cannot absorb (stall, hangup) logs no
// success, a later command on a healthy terminal works (the port was released), no file is
// harmed, and the terminal's pages hold only bytes the command meant to write.
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "core/wire/wire_client.h"
#include "support/fake_host.h"
#include "support/matrix_commands.h"

namespace vk930::test {

enum class WireFaultKind { kJunk, kCorrupt, kDrop, kStall, kHangup };

const std::vector<WireFaultKind>& AllWireFaults();
std::string FaultName(WireFaultKind fault);
// The simulator option of a fault at request `at` ("junk", "corrupt=3").
std::string FaultOption(WireFaultKind fault, int at);
// Junk, a damaged and a lost answer: the resync and the repeats absorb them.
bool Absorbed(WireFaultKind fault);

// Time allowed beyond what the link's time-outs add up to: starting the simulator, opening
// the pseudo-terminal, a busy machine.
inline constexpr std::chrono::milliseconds kMatrixSlack{10000};

struct MatrixOptions {
    WireTimings timings;  // the link's waits; see FastMatrixTimings
    std::string simulator;
    std::string bootDir;       // where the boot file is
    std::string firmwareFile;  // the image the firmware command uploads
};

// Short waits for a pseudo-terminal without pacing: the matrix runs in minutes, not hours.
WireTimings FastMatrixTimings();
// The simulator, boot folder and firmware file of this build, with FastMatrixTimings.
MatrixOptions DefaultMatrixOptions();

// What one run of a command left behind.
struct RunRecord {
    std::vector<LogEntry> log;
    Outcome outcome;                      // what the command returned
    std::vector<std::string> calls;       // the link calls, as the trace writes them
    std::map<int, std::string> fields;    // the form fields the command set
    std::string pagesBefore, pagesAfter;  // the state file: page 0, then page 1
    std::string parameterFileBefore;      // the parameter file before the run (Get, Set)
    std::string parameterFile;            // the parameter file after the run
    std::string firmware;                 // the firmware and version files after the run
    std::vector<std::string> folder;      // the names in the run's folder afterwards
    int requests = 0;                     // sends of the link, repeats included
    std::chrono::milliseconds time{0};
    bool laterCommandWorks = false;  // a later identification on a healthy terminal said "Done"
};

struct CaseResult {
    MatrixCommand command = MatrixCommand::kIdentification;
    WireFaultKind fault = WireFaultKind::kJunk;
    int at = 0;                       // the request position (junk: 0, every answer)
    std::vector<std::string> broken;  // the checks that did not hold, in words
    std::chrono::milliseconds time{0};
    std::chrono::milliseconds bound{0};
    bool Held() const { return broken.empty(); }
    std::string Describe() const;
};

class FaultMatrix {
  public:
    explicit FaultMatrix(MatrixOptions options) : options_(std::move(options)) {}

    // The command on a healthy terminal: run once, then kept.
    const RunRecord& Healthy(MatrixCommand command);
    // The request positions the command reaches: 1 to its healthy run's requests; junk,
    // which disturbs every answer, has the one position 0.
    std::vector<int> Positions(MatrixCommand command, WireFaultKind fault);
    // The time the command may take at most: every request of its healthy run answered late
    // on every attempt, the boot loader's waits, and kMatrixSlack.
    std::chrono::milliseconds Bound(MatrixCommand command);
    CaseResult Run(MatrixCommand command, WireFaultKind fault, int at);

  private:
    MatrixOptions options_;
    std::map<MatrixCommand, RunRecord> healthy_;
};

}  // namespace vk930::test
