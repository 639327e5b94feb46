// The Devices dialog's choices per COM port, and writing the changed ones into the settings.
#include "core/app/devices_choice.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "core/app/device_spec.h"
#include "core/base/private_folder.h"
#include "core/settings/settings_keys.h"

namespace vk930 {

namespace {

constexpr char kSimSpecPrefix[] = "sim:";

}  // namespace

std::string SimulatedTerminalSpec(const std::string& dataFolder) {
    return kSimSpecPrefix +
           (std::filesystem::path(dataFolder) / "VK930Config" / "terminal.bin").string();
}

DevicesChoice MakeDevicesChoice(const std::array<std::string, kPortCount>& current,
                                const std::vector<DeviceOption>& devices,
                                const std::string& simSpec,
                                const std::optional<std::string>& overridden) {
    DevicesChoice choice;
    choice.simSpec = simSpec;
    for (int i = 0; i < kPortCount; ++i) {
        PortChoice& port = choice.ports[static_cast<std::size_t>(i)];
        port.port = i + 1;
        port.settingName = DeviceSettingName(port.port);
        port.options = devices;
        port.options.push_back({"Simulated terminal", simSpec});
        port.options.push_back({"Nothing", "none"});
        // What the port reaches now stays selectable, even when it is none of the above.
        const std::string& now = current[static_cast<std::size_t>(i)];
        const auto found = std::find_if(port.options.begin(), port.options.end(),
                                        [&](const DeviceOption& o) { return o.spec == now; });
        if (found == port.options.end()) {
            port.options.insert(port.options.begin(), {now, now});
            port.selected = 0;
        } else {
            port.selected = static_cast<int>(found - port.options.begin());
        }
    }
    if (overridden)
        choice.overrideNote = "--link " + *overridden +
                              " reaches every port until the program ends; these choices "
                              "count from the next start.";
    return choice;
}

std::array<std::string, kPortCount> CurrentDeviceSpecs(SettingsBackendFactory& settings) {
    std::array<std::string, kPortCount> current;
    for (int port = 1; port <= kPortCount; ++port)
        current[static_cast<std::size_t>(port - 1)] = DeviceSpecFor(port, std::nullopt, settings);
    return current;
}

std::vector<std::pair<int, std::string>> ChangedPorts(const DevicesChoice& choice,
                                                      const std::array<int, kPortCount>& selected) {
    std::vector<std::pair<int, std::string>> changes;
    for (const PortChoice& port : choice.ports) {
        const int index = selected[static_cast<std::size_t>(port.port - 1)];
        // A selection outside the list keeps what the port reaches.
        if (index < 0 || index >= static_cast<int>(port.options.size()) || index == port.selected)
            continue;
        const std::string& chosen = port.options[static_cast<std::size_t>(index)].spec;
        if (chosen != port.options[static_cast<std::size_t>(port.selected)].spec)
            changes.emplace_back(port.port, chosen);
    }
    return changes;
}

DevicesApplied ApplyDeviceChanges(SettingsBackendFactory& settings, const std::string& simSpec,
                                  const std::vector<std::pair<int, std::string>>& changes) {
    DevicesApplied applied;
    const auto problem = [&](int port, const std::string& why) {
        if (!applied.problems.empty()) applied.problems += '\n';
        applied.problems += "COM" + std::to_string(port) + ": " + why;
    };
    for (const auto& [port, spec] : changes) {
        if (spec == simSpec) {
            const std::string folder =
                std::filesystem::path(spec.substr(std::size(kSimSpecPrefix) - 1))
                    .parent_path()
                    .string();
            if (Status made = MakePrivateFolder(folder); !made) {
                problem(port, made.error());
                continue;
            }
        }
        if (Status written = WriteDeviceSetting(settings, port, spec); !written)
            problem(port, written.error());
        else
            applied.changed = true;
    }
    return applied;
}

Status WriteDeviceSetting(SettingsBackendFactory& settings, int port, const std::string& spec) {
    std::unique_ptr<SettingsBackend> backend = settings.Make();
    if (const int error = backend->Open(); error != 0)
        return Error{"the settings cannot be opened (error " + std::to_string(error) + ")"};
    const bool written = backend->SetText(DeviceSettingName(port), spec);
    backend->Close();
    if (!written) return Error{"the settings cannot be written"};
    return {};
}

}  // namespace vk930
