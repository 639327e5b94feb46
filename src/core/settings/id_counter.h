#pragma once
// The next-ID counter of a series of terminals. "commID" in the settings store holds the last
// ID handed out (the next-ID button carries on from it). A reservation takes the next ID and
// stores it before its bytes are written to any terminal, under a lock that every station
// sharing the store takes, so neither two stations nor a crash ever hand out an ID twice.
#include "core/base/result.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

// The highest ID a terminal can carry (two bytes).
inline constexpr int kMaxCommId = 65535;

// An exclusive lock on the settings store, held only for one reservation.
class StoreLock {
  public:
    virtual ~StoreLock() = default;
    // Blocks until the lock is held; an error when it cannot be taken at all.
    virtual Status Acquire() = 0;
    virtual void Release() = 0;
};

class IdCounter {
  public:
    IdCounter(SettingsBackendFactory& settings, StoreLock& lock)
        : settings_(settings), lock_(lock) {}

    // Makes `first` the next ID to hand out. Refused when `first` does not fit a terminal or
    // the store says IDs from `first` on were handed out already.
    Status StartAt(int first);
    // The next ID, stored as the last one handed out before it is returned. Errors: the store
    // cannot be opened, read or written, or the next ID would not fit a terminal.
    Result<int> Reserve();
    // The ID the next reservation would hand out, reserving nothing. Errors as Reserve's.
    Result<int> Peek();

  private:
    SettingsBackendFactory& settings_;
    StoreLock& lock_;
};

}  // namespace vk930
