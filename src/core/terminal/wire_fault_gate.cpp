#include "core/terminal/wire_fault_gate.h"

namespace vk930 {

Bytes JunkBytes() {
    return {0xFF, 0x00, 0x02, 0x03, 0x00, 0x55, 0x02, 0xFF, 0xFF, 0x7E};
}

WireFaultGate::Fate WireFaultGate::Take() {
    ++requests_;
    if (faults_.hangupAt > 0 && requests_ == faults_.hangupAt) return Fate::kHangup;
    return Stalled() ? Fate::kIgnore : Fate::kServe;
}

void WireFaultGate::Send(const Frame& answer, Bytes& out) {
    ++answers_;
    if (answers_ == faults_.dropAt) return;
    Bytes frame = EncodeFrame(answer);
    if (answers_ == faults_.corruptAt) frame.back() ^= 0xFF;
    if (faults_.junk) {
        const Bytes junk = JunkBytes();
        out.insert(out.end(), junk.begin(), junk.end());
    }
    out.insert(out.end(), frame.begin(), frame.end());
}

WireOutput WireFaultGate::Serve(FrameReader& reader, std::span<const std::uint8_t> bytes,
                                const Answerer& answer) {
    WireOutput out;
    reader.Feed(bytes);
    while (std::optional<Frame> request = reader.Next()) {
        switch (Take()) {
            case Fate::kHangup:
                out.hangup = true;
                return out;
            case Fate::kIgnore:
                continue;
            case Fate::kServe:
                break;
        }
        if (std::optional<Frame> reply = answer(*request)) Send(*reply, out.bytes);
    }
    return out;
}

}  // namespace vk930
