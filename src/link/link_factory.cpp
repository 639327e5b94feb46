#include "link/link_factory.h"

#include <QCoreApplication>

#include "sim/link_spec.h"
#include "sim/sim_factory.h"

namespace vk930 {

std::string DefaultDeviceFor(int port) {
#ifdef _WIN32
    return "COM" + std::to_string(port);
#else
    return "/dev/ttyS" + std::to_string(port - 1);
#endif
}

std::string DeviceSettingName(int port) { return "Device" + std::to_string(port); }

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

BootFileLookup ProgramBootFileLookup() {
    if (!QCoreApplication::instance()) return {};
    return {QCoreApplication::applicationDirPath().toStdString()};
}

Result<std::unique_ptr<CLinkCtrl>> OpenLink(const std::string& text,
                                            const BootFileLookup& bootFiles) {
    Result<LinkSpec> spec = ParseLinkSpec(text);
    if (!spec) return Error{spec.error()};
    switch (spec->kind) {
        case LinkSpec::Kind::kNone:
            return std::unique_ptr<CLinkCtrl>();
        case LinkSpec::Kind::kSim:
            return MakeSimLink(spec->sim, bootFiles);
        case LinkSpec::Kind::kDevice:
            break;
    }
    return Error{"serial device '" + spec->devicePath + "': serial links are not available yet"};
}

LinkOpener MakePortOpener(std::optional<std::string> override, SettingsBackendFactory& settings,
                          BootFileLookup bootFiles) {
    return [override = std::move(override), &settings, boot = std::move(bootFiles)](Short port) {
        return OpenLink(DeviceSpecFor(port, override, settings), boot);
    };
}

}  // namespace vk930
