// The table of settings keys.
#include "core/settings/settings_keys.h"

#include "core/link/com_port_names.h"

namespace vk930 {

const std::vector<SettingsKey>& SettingsKeyTable() {
    static const std::vector<SettingsKey> kTable = {
        {kValueComPort, SettingType::kNumber, std::to_string(kDefaultComPort),
         "every terminal command (at each initial update)",
         "the COM port menu, the Get dialog, vk930ctl --port",
         "the COM port 1 to 8 the commands use (default 1)"},
        {kValueAllowEditSno, SettingType::kNumber, std::to_string(kDefaultAllowEditSno),
         "the form's initial update", "", "nonzero: the communication ID may be written by hand"},
        {kValueCommId, SettingType::kNumber, std::to_string(kDefaultCommId),
         "the initial update, the next-ID button, vk930ctl commid --next and series",
         "the CommID write, series", "the last communication ID written (default 10000)"},
        {kValueBackupBeforeSet, SettingType::kNumber, std::to_string(kDefaultBackupBeforeSet),
         "Set (window and vk930ctl)", "", "0: no backup of the pages before a Set (default 1)"},
        {kValueVerifyAfterSet, SettingType::kNumber, std::to_string(kDefaultVerifyAfterSet),
         "Set (window and vk930ctl)", "",
         "nonzero: the pages are read back and compared after a Set (default 0)"},
        {std::string(kValueDevicePrefix) + "1 to " + kValueDevicePrefix +
             std::to_string(kPortCount),
         SettingType::kText, "", "every link (none set: the port's serial device)",
         "the Devices dialog, vk930ctl ports --assign", "what each COM port reaches (a link spec)",
         true},
        {kValueEditor, SettingType::kText, "", "Edit with Notepad", "",
         "the window's editor command line"},
        {kValueRegistry, SettingType::kText, "", "the window, vk930ctl and series", "",
         "the shared registry's address (empty: this bench's own)"},
    };
    return kTable;
}

std::string DeviceSettingName(int port) {
    return kValueDevicePrefix + std::to_string(port);
}

std::vector<std::string> SettingsKeyNames() {
    std::vector<std::string> names;
    for (const SettingsKey& key : SettingsKeyTable()) {
        if (key.perPort) {
            names.push_back(DeviceSettingName(1));
            names.push_back(DeviceSettingName(kPortCount));
        } else {
            names.push_back(key.name);
        }
    }
    return names;
}

const SettingsKey* FindSettingsKey(const std::string& name) {
    for (const SettingsKey& key : SettingsKeyTable()) {
        if (key.name == name) return &key;
        if (!key.perPort) continue;
        for (int port = 1; port <= kPortCount; ++port)
            if (name == DeviceSettingName(port)) return &key;
    }
    return nullptr;
}

}  // namespace vk930
