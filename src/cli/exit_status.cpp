#include "cli/exit_status.h"

namespace vk930 {

int ExitStatusOf(const Outcome& outcome) {
    switch (outcome.outcomeClass) {
        case OutcomeClass::kSuccess:
            return kExitSuccess;
        case OutcomeClass::kInterrupted:
            return kExitInterrupted;
        default:
            return kExitFailure;
    }
}

std::string ExitStatusHelp() {
    return "Exit status:\n"
           "  0    the command succeeded\n"
           "  1    the command failed (--porcelain names the outcome class), or the output\n"
           "       could not be written\n"
           "  2    usage error: nothing ran\n"
           "  130  interrupted by SIGINT or SIGTERM, after the step in progress\n";
}

}  // namespace vk930
