#pragma once
// The settings key: opened, read or written, and closed again within one operation.
#include <cstdint>
#include <memory>
#include <string>

#include "core/base/result.h"
#include "core/commands/host.h"
#include "core/settings/settings_backend.h"
#include "core/settings/settings_keys.h"

namespace vk930 {

class CRegistryKey {
  public:
    // Opens the key; on failure shows the failure boxes through the host and stays closed.
    CRegistryKey(SettingsBackendFactory& factory, Host& host);
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    bool IsOpen() const { return backend_ != nullptr; }
    // The stored value; a missing one is written with the default and the default returned.
    // With no key open: 0, whatever the default.
    std::int32_t ReadValue(const std::string& name, std::int32_t defaultValue);
    bool WriteValue(const std::string& name, std::int32_t value);
    void Close();

  private:
    std::unique_ptr<SettingsBackend> backend_;
};

// Reads a value and writes it straight back, for a counter that must never repeat: the value
// (the default when it is missing), or why the store cannot keep it: it does not open, the
// value is there but no number, or it cannot be written. Shows no boxes.
Result<std::int32_t> ReadKeepableValue(SettingsBackendFactory& factory, const std::string& name,
                                       std::int32_t defaultValue);
// Writes a value, shows no boxes, and says why it was not kept.
Status KeepValue(SettingsBackendFactory& factory, const std::string& name, std::int32_t value);

}  // namespace vk930
