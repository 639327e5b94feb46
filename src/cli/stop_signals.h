#pragma once
// How vk930ctl takes SIGINT and SIGTERM: the first asks the running command to stop after
// the step in progress (the command then releases the port and says what it leaves in the
// terminal); a second ends the program at once with status 130, after removing the temporary
// files being written. SIGPIPE is ignored: a closed output is a write error that the program
// reports once the command has run to its end, never a reason to stop in mid-command.
#include "core/commands/stop_request.h"

namespace vk930 {

// While it lives, SIGINT and SIGTERM request `stop`; afterwards the first of them is only
// counted (the command has ended), a second still ends the program.
class StopSignals {
  public:
    explicit StopSignals(StopRequest& stop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
};

// Descriptors 0, 1 and 2 that are closed get a placeholder that cannot be written, so that no
// file the program opens later (a parameter file, the serial port) becomes its "output", and a
// closed standard output is a write error like any other.
void TakeClosedStandardDescriptors();

}  // namespace vk930
