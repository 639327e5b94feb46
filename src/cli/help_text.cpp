#include "cli/help_text.h"

#include "core/terminal/link_spec_help.h"
#include "platform/link_factory.h"

namespace vk930 {

const std::vector<std::string>& SettingsKeys() {
    static const std::vector<std::string> kKeys = {"ComPort",         "AllowEditSno",   "commID",
                                                   "Device1",         "Device8",        "Editor",
                                                   "BackupBeforeSet", "VerifyAfterSet", "Registry"};
    return kKeys;
}

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
           "Settings keys ([General] in the settings file):\n"
           "  ComPort          the COM port 1 to 8 the commands use (default 1)\n"
           "  AllowEditSno     nonzero: the communication ID may be written by hand\n"
           "  commID           the last communication ID written (default 10000)\n"
           "  Device1 to Device8  what each COM port reaches (a link spec)\n"
           "  BackupBeforeSet  0: no backup of the pages before a Set (default 1)\n"
           "  VerifyAfterSet   1: every Set is verified, as set --verify (default 0)\n"
           "  Registry         the shared registry's address, as --registry takes it\n"
           "  Editor           the window's editor command line\n"
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
