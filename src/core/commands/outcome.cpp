#include "core/commands/outcome.h"

namespace vk930 {

const char* ToString(OutcomeClass outcomeClass) {
    switch (outcomeClass) {
        case OutcomeClass::kSuccess:
            return "success";
        case OutcomeClass::kPortNotOpened:
            return "port-not-opened";
        case OutcomeClass::kNoTerminal:
            return "no-terminal";
        case OutcomeClass::kOtherDevice:
            return "other-device";
        case OutcomeClass::kCommunication:
            return "communication";
        case OutcomeClass::kFile:
            return "file";
        case OutcomeClass::kCancelled:
            return "cancelled";
        case OutcomeClass::kInterrupted:
            return "interrupted";
        case OutcomeClass::kRefused:
            return "refused";
    }
    return "unknown";
}

}  // namespace vk930
