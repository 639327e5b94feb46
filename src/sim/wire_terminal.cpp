#include "sim/wire_terminal.h"

namespace vk930 {

WireOutput WireTerminal::Receive(std::span<const std::uint8_t> bytes) {
    WireOutput out;
    reader_.Feed(bytes);
    while (std::optional<Frame> request = reader_.Next()) {
        switch (gate_->Take()) {
            case WireFaultGate::Fate::kHangup:
                out.hangup = true;
                return out;
            case WireFaultGate::Fate::kIgnore:
                continue;
            case WireFaultGate::Fate::kServe:
                break;
        }
        if (std::optional<Frame> answer = server_.Answer(*request)) gate_->Send(*answer, out.bytes);
    }
    return out;
}

}  // namespace vk930
