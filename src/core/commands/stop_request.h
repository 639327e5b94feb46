#pragma once
// A request to stop the running command after its current step: set from a signal handler
// (lock-free, so async-signal-safe) or from the window's close question, read by the commands
// between their steps.
#include <atomic>

namespace vk930 {

class StopRequest {
  public:
    StopRequest() = default;
    // The program's state is a value (tests reset it by assignment): a copy takes the flag.
    StopRequest(const StopRequest& other) : requested_(other.Requested()) {}
    StopRequest& operator=(const StopRequest& other) {
        requested_.store(other.Requested());
        return *this;
    }

    void Request() { requested_.store(true); }
    void Clear() { requested_.store(false); }
    bool Requested() const { return requested_.load(); }

  private:
    std::atomic<bool> requested_{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
};

// Waits `milliseconds`, and returns early once `stop` (when given) is requested. It looks in
// short slices: a signal handler may only set the flag, it cannot wake a waiting thread.
void SleepUnlessStopped(int milliseconds, const StopRequest* stop);

}  // namespace vk930
