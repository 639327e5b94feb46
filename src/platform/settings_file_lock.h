#pragma once
// The lock that stations sharing one settings file take for a reservation: an advisory lock
// on a file beside it (SETTINGS.counter-lock), which every process and every thread (each with its
// own descriptor) honours. Releasing flushes the settings file to disk first.
#include <cstdint>
#include <string>

#include "core/settings/id_counter.h"

namespace vk930 {

class SettingsFileLock : public StoreLock {
  public:
    explicit SettingsFileLock(std::string settingsPath) : settingsPath_(std::move(settingsPath)) {}
    ~SettingsFileLock() override { Release(); }
    SettingsFileLock(const SettingsFileLock&) = delete;
    SettingsFileLock& operator=(const SettingsFileLock&) = delete;

    Status Acquire() override;
    void Release() override;

  private:
    std::string settingsPath_;
    int fd_ = -1;
    std::int64_t modifiedBefore_ = 0;
};

}  // namespace vk930
