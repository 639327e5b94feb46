#pragma once
// The Devices dialog's decisions, the same in both windows: what each of COM1 to COM8 may be
// set to reach (the serial devices present, the simulated terminal, nothing, and whatever it
// reaches now), which choices changed, and writing those into the settings (`DeviceN`).
// The windows only show the choices and report which one is selected per port.
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/result.h"
#include "core/link/com_port_names.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

// One entry of a port's list: what the user reads and the link spec it stands for.
struct DeviceOption {
    std::string label;
    std::string spec;
    bool operator==(const DeviceOption&) const = default;
};

struct PortChoice {
    int port = 0;             // 1 for COM1
    std::string settingName;  // "Device1"
    std::vector<DeviceOption> options;
    int selected = 0;  // the option it reaches now
};

struct DevicesChoice {
    std::array<PortChoice, kPortCount> ports;
    std::string simSpec;       // the simulated terminal offered
    std::string overrideNote;  // why the choices wait for the next start; empty: they don't
};

// The simulated terminal's spec: its pages kept in `dataFolder`/VK930Config/terminal.bin.
std::string SimulatedTerminalSpec(const std::string& dataFolder);

// The choices for every port: `devices` in their order, then "Simulated terminal", then
// "Nothing"; what a port reaches now (`current`, COM1 first) is selected, and put first when
// it is none of those. `overridden`: a --link spec that wins until the program ends.
DevicesChoice MakeDevicesChoice(const std::array<std::string, kPortCount>& current,
                                const std::vector<DeviceOption>& devices,
                                const std::string& simSpec,
                                const std::optional<std::string>& overridden);

// What each port reaches by the settings (Device1 to Device8, else the default device).
std::array<std::string, kPortCount> CurrentDeviceSpecs(SettingsBackendFactory& settings);

// The ports whose selection (`selected`, COM1 first: an index into that port's options)
// differs from what they reach now, with the spec chosen.
std::vector<std::pair<int, std::string>> ChangedPorts(const DevicesChoice& choice,
                                                      const std::array<int, kPortCount>& selected);

struct DevicesApplied {
    bool changed = false;  // a port reaches something else: links opened so far are stale
    std::string problems;  // one line per port not written ("COM3: why"); empty when none
};

// Writes DeviceN for every change; the simulated terminal's folder is made (for its owner
// alone) before a port is set to it.
DevicesApplied ApplyDeviceChanges(SettingsBackendFactory& settings, const std::string& simSpec,
                                  const std::vector<std::pair<int, std::string>>& changes);

// Writes DeviceN = spec into the settings; an error says why not.
Status WriteDeviceSetting(SettingsBackendFactory& settings, int port, const std::string& spec);

}  // namespace vk930
