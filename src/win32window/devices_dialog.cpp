// The Devices dialog in Win32, on the core's choices and template.
#include "win32window/devices_dialog.h"

#include <shlobj.h>

#include "core/app/devices_template.h"
#include "core/forms/dialog_ids.h"
#include "core/link/com_port_names.h"
#include "platform/win32/com_ports_present.h"
#include "win32window/wide_text.h"

namespace vk930 {

namespace {

// A COM port offered by its own name; it stands for its device-namespace path, as the
// settings' default for a port does.
std::vector<DeviceOption> ComPortOptions() {
    std::vector<DeviceOption> options;
    for (int port : ComPortsPresent())
        options.push_back(
            {"COM" + std::to_string(port), DefaultComDevice(port, DeviceNaming::kWindows)});
    return options;
}

std::string LocalAppDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return ".";
    return Narrow(folder);
}

}  // namespace

detail::DevicesTemplateHolder::DevicesTemplateHolder(const DevicesChoice& choice)
    : description(DevicesDialogTemplate(choice)) {}

DevicesDialog::DevicesDialog(const DevicesChoice& choice)
    : DevicesTemplateHolder(choice), TemplateDialog(description), choice_(choice) {}

std::optional<std::array<int, kPortCount>> DevicesDialog::Run(HWND owner, HINSTANCE module) {
    if (RunModal(owner, module) != IDOK) return std::nullopt;
    return selected_;
}

void DevicesDialog::OnInit(HWND dialog) {
    for (const PortChoice& port : choice_.ports)
        SendDlgItemMessageW(dialog, id::kDeviceChoice1 + port.port - 1, CB_SETCURSEL,
                            static_cast<WPARAM>(port.selected), 0);
}

void DevicesDialog::OnCommand(HWND dialog, int id) {
    if (id == IDOK)
        for (int i = 0; i < kPortCount; ++i)
            selected_[static_cast<std::size_t>(i)] = static_cast<int>(
                SendDlgItemMessageW(dialog, id::kDeviceChoice1 + i, CB_GETCURSEL, 0, 0));
    TemplateDialog::OnCommand(dialog, id);
}

std::string WindowsSimulatedTerminalSpec() {
    return SimulatedTerminalSpec(LocalAppDataFolder());
}

bool RunWin32DevicesDialog(HWND owner, HINSTANCE module, SettingsBackendFactory& settings,
                           const std::optional<std::string>& overridden,
                           const std::function<void(const std::string&)>& report) {
    const std::string simSpec = WindowsSimulatedTerminalSpec();
    const DevicesChoice choice =
        MakeDevicesChoice(CurrentDeviceSpecs(settings), ComPortOptions(), simSpec, overridden);
    DevicesDialog dialog(choice);
    const std::optional<std::array<int, kPortCount>> selected = dialog.Run(owner, module);
    if (!selected) return false;
    const DevicesApplied applied =
        ApplyDeviceChanges(settings, simSpec, ChangedPorts(choice, *selected));
    if (!applied.problems.empty()) report(applied.problems);
    return applied.changed;
}

}  // namespace vk930
