#include "cli/help_text.h"

#include <algorithm>

#include "core/settings/settings_keys.h"
#include "core/terminal/link_spec_help.h"
#include "platform/link_factory.h"

namespace vk930 {

const std::vector<std::string>& SettingsKeys() {
    static const std::vector<std::string> kKeys = SettingsKeyNames();
    return kKeys;
}

namespace {

// "  ComPort       the COM port ...": one line a key, the descriptions in one column.
std::string SettingsKeyLines() {
    constexpr std::size_t kColumn = 14;
    std::string lines;
    for (const SettingsKey& key : SettingsKeyTable()) {
        const std::size_t width = std::max(kColumn, key.name.size() + 2);
        lines += "  " + key.name + std::string(width - key.name.size(), ' ') + key.meaning + "\n";
    }
    return lines;
}

}  // namespace

std::string HelpSections() {
    return std::string(
               "\n"
               "Link specs (--link, Device1 to Device8, ports --assign):\n"
               "  sim[:STATEFILE][?OPTION&OPTION...]  the simulated terminal (STATEFILE: its\n"
               "                                      512 bytes of pages; none: in memory)\n"
               "  none                                nothing: every command fails to connect\n"
               "  /dev/ttyUSB0, /dev/serial/by-id/... a serial device (not a bare ttyUSB0)\n") +
           kSimOptionsHelp +
           "\n"
           "Settings keys ([General] in the settings file):\n" +
           SettingsKeyLines() +
           "\n"
           "Files:\n"
           "  ~/.config/VK930Config/VK930Config.ini  the settings (--settings FILE)\n"
           "  boot.a20  the boot file of a firmware upload: the working directory, then\n"
           "            the program's folder, then " +
           kSystemDataDir +
           "\n"
           "  $XDG_STATE_HOME/VK930Config  the state folder (backups, service log)\n"
           "  /dev/serial/by-id/  the stable names of the serial devices present\n"
           "\n"
           "See vk930ctl(1) for examples.\n";
}

}  // namespace vk930
