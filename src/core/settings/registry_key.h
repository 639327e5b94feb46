#pragma once
// The settings key: opened, read or written, and closed again within one operation.
#include <cstdint>
#include <memory>
#include <string>

#include "core/commands/host.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

inline constexpr char kValueComPort[] = "ComPort";
inline constexpr char kValueAllowEditSno[] = "AllowEditSno";
inline constexpr char kValueCommId[] = "commID";

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

}  // namespace vk930
