#pragma once
// When the terminals of a series come and go at one port. The first is plugged in from the
// start; each is removed a while after its last reset (the technician unplugs it once it has
// restarted with its new settings), and a factory-fresh one is plugged in a while after that,
// until the series' count of terminals has been served.
#include <cstdint>

namespace vk930 {

struct TerminalSeriesSpec {
    int count = 0;             // series=N: N terminals one after another; 0 = one terminal
    int removeAfterMs = 6000;  // remove=MS: after the terminal's last reset
    int plugInAfterMs = 1000;  // plugin=MS: after the removal
};

class PlugSchedule {
  public:
    enum class Event { kNone, kRemoved, kPluggedIn };

    explicit PlugSchedule(TerminalSeriesSpec spec) : spec_(spec) {}

    // The terminal at the port restarted at `nowMs`: its removal is due removeAfterMs later.
    void NoteReset(std::int64_t nowMs);
    // The next event due by `nowMs`, applied; kNone when nothing is due. Call until kNone.
    Event Advance(std::int64_t nowMs);
    // Step by step, for tests: remove the terminal now, or plug the next one in now.
    Event RemoveNow(std::int64_t nowMs);
    Event PlugInNow(std::int64_t nowMs);

    bool Present() const { return present_; }
    // The number of the terminal at the port, or of the last one removed (from 1).
    int Number() const { return number_; }
    bool Finished() const { return !present_ && number_ >= spec_.count; }

  private:
    TerminalSeriesSpec spec_;
    bool present_ = true;
    int number_ = 1;
    bool removalDue_ = false;
    std::int64_t removeAt_ = 0;
    std::int64_t plugInAt_ = 0;
};

}  // namespace vk930
