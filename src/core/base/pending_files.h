#pragma once
// The temporary files being written, for a program that must end at once (a second Ctrl+C)
// to remove from its signal handler. A handler can reach nothing but process-wide data, so
// this is the process's one list; it is read without locks or allocation (fixed slots of
// fixed-size paths, each published by an atomic flag), which keeps the reading async-signal-safe.
#include <array>
#include <atomic>
#include <cstddef>
#include <string>

namespace vk930 {

class PendingFiles {
  public:
    static constexpr std::size_t kSlots = 16;
    static constexpr std::size_t kMaxPath = 4096;

    // Registers a path; returns its slot, or -1 when the path is too long or every slot is
    // taken (the file is then only removed by its owner, as before).
    int Add(const std::string& path);
    void Remove(int slot);

    // Calls f(path) for each registered path. Async-signal-safe when f is.
    template <class F>
    void ForEach(F f) const {
        for (const Slot& slot : slots_)
            if (slot.state.load() == kUsed) f(slot.path.data());
    }

  private:
    enum : int { kFree = 0, kFilling = 1, kUsed = 2 };
    struct Slot {
        std::atomic<int> state{kFree};
        std::array<char, kMaxPath> path{};
    };
    std::array<Slot, kSlots> slots_;
    static_assert(std::atomic<int>::is_always_lock_free);
};

// The process's list.
PendingFiles& TemporaryFiles();

}  // namespace vk930
