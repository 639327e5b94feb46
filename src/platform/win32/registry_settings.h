#pragma once
// The settings store on Windows: REG_DWORD values of one registry key, machine-wide by
// default (Software\VK930Config of HKEY_LOCAL_MACHINE), opened with RegCreateKeyExA for
// reading and writing and closed again after each use.
#include <windows.h>

#include <memory>
#include <string>

#include "core/settings/settings_backend.h"

namespace vk930 {

inline constexpr char kSettingsSubkey[] = "Software\\VK930Config";

// RegCreateKeyExA, or a stand-in of a test that makes the opening fail.
using CreateKeyFunction = decltype(&RegCreateKeyExA);

class RegistrySettingsFactory : public SettingsBackendFactory {
  public:
    // `root`: a predefined key (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER); the store closes it
    // after the key, which does nothing to a predefined one.
    explicit RegistrySettingsFactory(HKEY root = HKEY_LOCAL_MACHINE,
                                     std::string subkey = kSettingsSubkey,
                                     CreateKeyFunction createKey = nullptr);
    std::unique_ptr<SettingsBackend> Make() override;

  private:
    HKEY root_;
    std::string subkey_;
    CreateKeyFunction createKey_;
};

}  // namespace vk930
