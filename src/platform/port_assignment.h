#pragma once
// What each of COM1 to COM8 reaches and whether that is usable, and the assignment of a
// device, the simulated terminal or nothing to a port (`DeviceN` in the settings): shared by
// `vk930ctl ports`, `vk930ctl doctor` and the window's Devices dialog.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/app/device_spec.h"
#include "core/app/link_place_text.h"
#include "core/base/result.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

struct PortReach {
    using Kind = SpecReach::Kind;
    int port = 0;
    std::string spec;  // as configured (or given with --link)
    Kind kind = Kind::kNone;
    bool present = false;  // kDevice: the device exists; kSim: always
    std::string problem;   // kBad: why the spec does not parse; kDevice: a hint when missing
};

// What COM`port` reaches with the settings and the --link override given.
PortReach DescribePortReach(int port, const std::optional<std::string>& override,
                            SettingsBackendFactory& settings);

// One word for a reach: "present", "missing", "simulated terminal", "nothing", "bad".
std::string ReachState(const PortReach& reach);

struct Assignment {
    std::string spec;                   // what DeviceN is set to
    std::vector<std::string> warnings;  // said to the user; the assignment still stands
};

// Checks a spec for DeviceN: a spec that does not parse, or a bare device name ("ttyUSB0",
// "COM3"), is refused; a device path becomes its by-id name when it has one (`byId` as
// ByIdNames gives it); a device that does not exist is a warning.
Result<Assignment> PrepareAssignment(const std::string& spec,
                                     const std::map<std::string, std::string>& byId);

// Writes DeviceN = spec into the settings.
Status WriteAssignment(SettingsBackendFactory& settings, int port, const std::string& spec);

}  // namespace vk930
