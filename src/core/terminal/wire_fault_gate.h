#pragma once
// The spec's wire faults (junk, corrupt=N, drop=N, stall=N, hangup=N) as the simulated
// terminal acts them out on whatever it answers: the application's requests at 19200 and the
// boot loader's framed requests at 4800 alike. Requests and answers are counted from 1 over
// the terminal's whole run, repeats included, so a fault lands at one place of a command
// whichever mode it talks to.
#include <functional>
#include <optional>
#include <span>

#include "core/terminal/link_spec.h"
#include "core/wire/wire_frame.h"

namespace vk930 {

// The noise `junk` puts before every answer: stray bytes and a start byte whose frame never
// comes right.
Bytes JunkBytes();

// What the terminal sends back for the bytes it received.
struct WireOutput {
    Bytes bytes;          // what the terminal sends back
    bool hangup = false;  // the device disappears now
};

class WireFaultGate {
  public:
    enum class Fate {
        kServe,   // carry the request out and answer it
        kIgnore,  // stalled: neither carried out nor answered
        kHangup,  // the device disappears now
    };

    explicit WireFaultGate(WireFaults faults) : faults_(faults) {}

    // A request with a good CRC arrived: what becomes of it.
    Fate Take();
    // True from the stall on: nothing is answered any more, not even the boot loader's sync.
    bool Stalled() const { return faults_.stallFrom > 0 && requests_ >= faults_.stallFrom; }
    // Appends an answer to `out` as the faults let it go: lost, damaged, after noise, or whole.
    void Send(const Frame& answer, Bytes& out);
    // Cuts the requests out of `bytes` and answers each as the faults let it. `answer` carries
    // a request out and gives its answer (none: the terminal stays silent).
    using Answerer = std::function<std::optional<Frame>(const Frame& request)>;
    WireOutput Serve(FrameReader& reader, std::span<const std::uint8_t> bytes,
                     const Answerer& answer);
    // Requests received with a good CRC, repeats included.
    int Requests() const { return requests_; }

  private:
    WireFaults faults_;
    int requests_ = 0;
    int answers_ = 0;
};

}  // namespace vk930
