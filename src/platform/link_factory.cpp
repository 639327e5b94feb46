#include "platform/link_factory.h"

#include <QCoreApplication>
#include <filesystem>

#include "core/link/com_port_names.h"
#include "core/terminal/link_spec.h"
#include "core/terminal/sim_factory.h"
#include "core/wire/serial_link.h"
#include "platform/port_diagnosis.h"
#include "platform/qt_serial_port.h"

namespace vk930 {

const char* const kSystemDataDir = VK930_SYSTEM_DATA_DIR;

namespace {

Result<std::unique_ptr<CLinkCtrl>> OpenSerialLink(const std::string& path,
                                                  const BootFileLookup& bootFiles,
                                                  LinkErrorSink onError) {
#ifndef _WIN32
    // Said here, the technician reads which device is missing, not only "Cannot open COM".
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        std::string message = "serial device '" + path + "' does not exist";
        if (std::optional<std::string> meant = SuggestDevicePath(path))
            message += "; on Linux a serial device is named by its path: " + *meant;
        return Error{message};
    }
#endif
    return std::unique_ptr<CLinkCtrl>(std::make_unique<SerialLink>(
        std::make_unique<QtSerialPort>(path), WireTimings{}, std::move(onError), bootFiles));
}

}  // namespace

BootFileLookup ProgramBootFileLookup() {
    BootFileLookup lookup({}, kSystemDataDir);
    if (QCoreApplication::instance())
        lookup.programDir = QCoreApplication::applicationDirPath().toStdString();
    return lookup;
}

Result<std::unique_ptr<CLinkCtrl>> OpenLink(const std::string& text,
                                            const BootFileLookup& bootFiles) {
    return OpenLink(text, bootFiles, {});
}

Result<std::unique_ptr<CLinkCtrl>> OpenLink(const std::string& text,
                                            const BootFileLookup& bootFiles,
                                            LinkErrorSink onError) {
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
    return OpenSerialLink(spec->devicePath, bootFiles, std::move(onError));
}

LinkOpener MakePortOpener(std::optional<std::string> override, SettingsBackendFactory& settings,
                          BootFileLookup bootFiles) {
    return MakePortOpener(std::move(override), settings, std::move(bootFiles), {});
}

LinkOpener MakePortOpener(std::optional<std::string> override, SettingsBackendFactory& settings,
                          BootFileLookup bootFiles, LinkErrorSink onError) {
    return [override = std::move(override), &settings, boot = std::move(bootFiles),
            onError = std::move(onError)](Short port) {
        return OpenLink(DeviceSpecFor(port, override, settings), boot, onError);
    };
}

}  // namespace vk930
