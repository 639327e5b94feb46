#include "platform/port_assignment.h"

#include <filesystem>
#include <system_error>

#include "core/app/devices_choice.h"
#include "core/terminal/link_spec.h"
#include "platform/link_factory.h"
#include "platform/port_diagnosis.h"
#include "platform/serial_devices.h"

namespace vk930 {

namespace {

bool DeviceExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

PortReach DescribePortReach(int port, const std::optional<std::string>& override,
                            SettingsBackendFactory& settings) {
    PortReach reach;
    reach.port = port;
    reach.spec = DeviceSpecFor(port, override, settings);
    const SpecReach spec = ReachOfSpec(reach.spec);
    reach.kind = spec.kind;
    reach.problem = spec.problem;
    switch (spec.kind) {
        case PortReach::Kind::kSim:
            reach.present = true;
            break;
        case PortReach::Kind::kDevice:
            reach.present = DeviceExists(spec.devicePath);
            if (!reach.present)
                if (std::optional<std::string> meant = SuggestDevicePath(reach.spec))
                    reach.problem = "a device path is meant: " + *meant;
            break;
        case PortReach::Kind::kNone:
        case PortReach::Kind::kBad:
            break;
    }
    return reach;
}

std::string ReachState(const PortReach& reach) {
    switch (reach.kind) {
        case PortReach::Kind::kDevice:
            return reach.present ? "present" : "missing";
        case PortReach::Kind::kSim:
            return "simulated terminal";
        case PortReach::Kind::kNone:
            return "nothing";
        case PortReach::Kind::kBad:
            return "bad";
    }
    return "bad";
}

Result<Assignment> PrepareAssignment(const std::string& text,
                                     const std::map<std::string, std::string>& byId) {
    const Result<LinkSpec> spec = ParseLinkSpec(text);
    if (!spec) return Error{"'" + text + "' is no link spec: " + spec.error()};
    Assignment assignment{text, {}};
    if (spec.value().kind != LinkSpec::Kind::kDevice) return assignment;
    const std::string& path = spec.value().devicePath;
    if (std::optional<std::string> meant = SuggestDevicePath(path))
        return Error{"'" + path + "' is no device path; on Linux write " + *meant};
    if (!DeviceExists(path)) {
        assignment.warnings.push_back("serial device '" + path +
                                      "' is not present now; assigned all the same");
        return assignment;
    }
    if (std::filesystem::path(path).is_relative()) {
        // Later runs start in other folders.
        std::error_code ec;
        assignment.spec = std::filesystem::absolute(path, ec).string();
    }
    if (const std::string stable = ByIdNameOf(path, byId); !stable.empty() && stable != path) {
        assignment.spec = stable;
        assignment.warnings.push_back("'" + path + "' written as its stable name " + stable);
    }
    return assignment;
}

Status WriteAssignment(SettingsBackendFactory& settings, int port, const std::string& spec) {
    return WriteDeviceSetting(settings, port, spec);
}

}  // namespace vk930
