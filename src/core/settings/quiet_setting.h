#pragma once
// Settings beyond the three of the settings key (BackupBeforeSet, VerifyAfterSet): read
// without writing a default and without the boxes of a key that cannot be opened.
#include <cstdint>
#include <string>

#include "core/settings/settings_backend.h"

namespace vk930 {

std::int32_t ReadSettingQuietly(SettingsBackendFactory& factory, const std::string& name,
                                std::int32_t defaultValue);

}  // namespace vk930
