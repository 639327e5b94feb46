// The DeviceN lookup shared by every program.
#include "core/app/device_spec.h"

#include <memory>

#include "core/app/link_place_text.h"
#include "core/link/com_port_names.h"
#include "core/settings/settings_keys.h"

namespace vk930 {

std::string DefaultDeviceFor(int port) {
    return DefaultComDevice(port, kHostDeviceNaming);
}

std::string DeviceSpecFor(int port, const std::optional<std::string>& override,
                          SettingsBackendFactory& settings) {
    if (override) return *override;
    std::unique_ptr<SettingsBackend> backend = settings.Make();
    if (backend->Open() == 0) {
        std::optional<std::string> configured = backend->QueryText(DeviceSettingName(port));
        backend->Close();
        if (configured && !configured->empty()) return *configured;
    }
    return DefaultDeviceFor(port);
}

std::string PortReachText(int port, const std::optional<std::string>& override,
                          SettingsBackendFactory& settings) {
    if (!IsComPort(port)) return PortReachText(port, std::string());
    return PortReachText(port, DeviceSpecFor(port, override, settings));
}

}  // namespace vk930
