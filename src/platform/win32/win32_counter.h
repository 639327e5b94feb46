#pragma once
// What the next-ID counter needs of Windows: a lock that every program numbering terminals
// with the same settings takes (a named mutex), this program's name in the journal of IDs
// (computer:pid), whether the program a reservation names has ended, and the folder of the
// bench's private state.
#include <windows.h>

#include <mutex>
#include <string>

#include "core/settings/id_counter.h"

namespace vk930 {

// Held only for one reservation. A program that dies holding it leaves it abandoned, which
// the next Acquire takes as its own: the journal, not the lock, tells what that program did.
class NamedMutexLock : public StoreLock {
  public:
    // `store`: the settings store the counter lives in (its key's path); programs locking the
    // same store share one mutex. Locks of another `kind` are other mutexes.
    explicit NamedMutexLock(const std::string& store, const std::string& kind = "counter");
    // The lock of a file that several programs append to (the service log): one mutex per
    // file, however the case of its path is spelt.
    static NamedMutexLock ForFile(const std::string& path);
    ~NamedMutexLock() override;
    NamedMutexLock(const NamedMutexLock&) = delete;
    NamedMutexLock& operator=(const NamedMutexLock&) = delete;

    Status Acquire() override;
    void Release() override;

  private:
    std::wstring name_;
    std::string what_;   // for messages
    std::mutex making_;  // threads of a series share the lock
    HANDLE mutex_ = nullptr;
};

// This program as the journal names it: computer:pid.
std::string Win32Holder();
// The id every record of a series carries, as vk930ctl makes it: the local time, the
// computer and the process ("20261209-044500-BENCH3-1234").
std::string NewWin32SeriesId();
// A holder of this computer whose process has ended; one of another computer counts as alive.
bool Win32HolderGone(const std::string& holder);

// %LOCALAPPDATA%\VK930Config: the journal of IDs and other private state of the bench's user.
std::string Win32StateFolder();

}  // namespace vk930
