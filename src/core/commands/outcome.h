#pragma once
// How a command ended, as a value: the front ends take exit statuses, boxes and JSON from it,
// never from the texts of the operation log.
#include <string>
#include <utility>

namespace vk930 {

enum class OutcomeClass {
    kSuccess,
    kPortNotOpened,  // Connect answered 0
    kNoTerminal,     // nothing answered ReadInfo
    kOtherDevice,    // a device answered that is not the hand terminal
    kCommunication,  // a read, write, reset or upload step failed on the link
    kFile,           // a parameter, firmware or output file could not be read or written
    kCancelled,      // the user cancelled a dialog
    kInterrupted,    // a stop was requested (signal, window closed) and honoured between steps
    kRefused,        // the command refused its input before writing anything
};

const char* ToString(OutcomeClass outcomeClass);

struct Outcome {
    OutcomeClass outcomeClass = OutcomeClass::kSuccess;
    std::string detail;  // a short text for scripts and JSON; empty on success

    static Outcome Success() { return {}; }
    static Outcome Failure(OutcomeClass c, std::string detail) { return {c, std::move(detail)}; }
    bool ok() const { return outcomeClass == OutcomeClass::kSuccess; }
};

}  // namespace vk930
