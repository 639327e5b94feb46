#include "core/settings/quiet_setting.h"

namespace vk930 {

std::int32_t ReadSettingQuietly(SettingsBackendFactory& factory, const std::string& name,
                                std::int32_t defaultValue) {
    std::unique_ptr<SettingsBackend> backend = factory.Make();
    if (!backend || backend->Open() != 0) return defaultValue;
    const std::int32_t value = backend->Query(name).value_or(defaultValue);
    backend->Close();
    return value;
}

}  // namespace vk930
