// The close question's texts.
#include "core/app/close_question.h"

namespace vk930 {

TerminalLeft LeftWhenStopped(TerminalJob job) {
    switch (job) {
        case TerminalJob::kUpload:
            return TerminalLeft::kInBootLoader;
        case TerminalJob::kSet:
        case TerminalJob::kCommId:
            return TerminalLeft::kPartlyProgrammed;
        case TerminalJob::kGet:
        case TerminalJob::kIdentify:
            break;
    }
    return TerminalLeft::kUntouched;
}

namespace {

// What the job is doing, in a sentence.
const char* Doing(TerminalJob job) {
    switch (job) {
        case TerminalJob::kUpload:
            return "A firmware upload is running.";
        case TerminalJob::kSet:
            return "A parameter file is being programmed.";
        case TerminalJob::kCommId:
            return "A communication ID is being written.";
        case TerminalJob::kGet:
            return "The parameters are being read.";
        case TerminalJob::kIdentify:
            break;
    }
    return "The terminal is being identified.";
}

// What the terminal, the files and the fields are left as; the terminal's state follows
// from LeftWhenStopped, the rest from the job.
std::string Leaves(TerminalJob job) {
    switch (LeftWhenStopped(job)) {
        case TerminalLeft::kInBootLoader:
            return "the terminal stays in its boot loader without a complete firmware: it must "
                   "be uploaded again before the terminal can be used.";
        case TerminalLeft::kPartlyProgrammed:
            if (job == TerminalJob::kCommId)
                return "the terminal may have the new ID without having been identified again, "
                       "and the ID may not be remembered for the next one.";
            return "the terminal keeps the values written so far; the rest of the file, the "
                   "function keys and the reset are left out.";
        case TerminalLeft::kUntouched:
            break;
    }
    if (job == TerminalJob::kGet)
        return "no file is written; a file that was there stays as it was.";
    return "the fields show what was read so far.";
}

}  // namespace

std::string CloseQuestion(TerminalJob job) {
    return std::string(Doing(job)) + " Stopped now, " + Leaves(job) +
           "\n\nStop it after its current step and close?";
}

}  // namespace vk930
