#include "cli/cli_commands.h"

#include "cli/port_listing.h"
#include "settings/registry_key.h"
#include "ui/form_ids.h"

namespace vk930 {

namespace {

int RunInfo(CliSession& s, const QStringList& args, std::string& usage) {
    if (!args.isEmpty()) {
        usage = "info takes no arguments";
        return kExitUsage;
    }
    s.view.OnReadDeviceInfo();
    return kExitSuccess;
}

int RunCommId(CliSession& s, const QStringList& args, std::string& usage) {
    if (args.size() != 1) {
        usage = "commid needs one argument: an ID (0 to 65535) or --next";
        return kExitUsage;
    }
    if (args[0] == "--next") {
        // The field holds the stored ID, as the settings load fills it.
        std::int32_t stored = 0;
        {
            CRegistryKey key(s.settings, s.host);
            stored = key.ReadValue(kValueCommId, 10000);
        }
        s.view.Form().SetText(id::kCommId, std::to_string(stored));
        s.host.ForgetFields();
        s.view.OnNextCommId();
        return kExitSuccess;
    }
    bool ok = false;
    const uint value = args[0].toUInt(&ok);
    if (!ok || value > 65535) {
        usage = "commid: '" + args[0].toStdString() + "' is not an ID from 0 to 65535";
        return kExitUsage;
    }
    s.view.OnCommIdEdited(std::to_string(value));
    s.view.OnSetCommId();
    return kExitSuccess;
}

}  // namespace

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> kCommands = {
        {"info", "", "identify the terminal (\"&Read Device Info\")", RunInfo},
        {"commid", "ID | --next", "write a communication ID, or the stored one plus one",
         RunCommId},
        {"ports", "", "list the serial ports present and what COM1 to COM8 reach", RunPorts, true},
    };
    return kCommands;
}

const CliCommand* FindCliCommand(const std::string& name) {
    for (const CliCommand& command : CliCommands())
        if (command.name == name) return &command;
    return nullptr;
}

}  // namespace vk930
