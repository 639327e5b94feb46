// The main window's command map.
#include "core/app/command_map.h"

#include <map>

#include "core/forms/form_ids.h"
#include "core/link/com_port_names.h"

namespace vk930 {

namespace {

const std::map<int, AppCommand>& CommandTable() {
    auto onGui = [](AppAction action) { return AppCommand{action, std::nullopt, 0}; };
    auto job = [](AppAction action, TerminalJob kind) { return AppCommand{action, kind, 0}; };
    static const std::map<int, AppCommand> kTable = [&] {
        std::map<int, AppCommand> table = {
            {id::kCmdNew, onGui(AppAction::kNew)},
            {id::kCmdOpen, onGui(AppAction::kOpen)},
            {id::kCmdAbout, onGui(AppAction::kAbout)},
            {id::kCmdExit, onGui(AppAction::kExit)},
            {id::kClearListButton, onGui(AppAction::kClearList)},
            {id::kEditWithNotepadButton, onGui(AppAction::kEditWithNotepad)},
            {id::kCloseButton, onGui(AppAction::kClose)},
            {id::kCmdDevices, onGui(AppAction::kDevices)},
            {id::kCmdNumberSeries, onGui(AppAction::kNumberSeries)},
            // The Tools dialogs run their terminal work as jobs of their own.
            {id::kCmdCompare, onGui(AppAction::kCompare)},
            {id::kCmdBackups, onGui(AppAction::kBackups)},
            {id::kCmdServiceHistory, onGui(AppAction::kServiceHistory)},
            {id::kReadDeviceInfoButton, job(AppAction::kReadDeviceInfo, TerminalJob::kIdentify)},
            {id::kSetCommIdButton, job(AppAction::kSetCommId, TerminalJob::kCommId)},
            {id::kNextCommIdButton, job(AppAction::kNextCommId, TerminalJob::kCommId)},
            {id::kGetButton, job(AppAction::kGet, TerminalJob::kGet)},
            {id::kGetKeyedButton, job(AppAction::kGetKeyed, TerminalJob::kGet)},
            {id::kSetButton, job(AppAction::kSet, TerminalJob::kSet)},
            {id::kSetRunButton, job(AppAction::kSetRun, TerminalJob::kSet)},
            {id::kCmdFirmwareUpdate, job(AppAction::kFirmwareUpdate, TerminalJob::kUpload)},
        };
        for (int port = 1; port <= kPortCount; ++port)
            table[id::kCmdComPort1 + port - 1] =
                AppCommand{AppAction::kSelectComPort, std::nullopt, port};
        return table;
    }();
    return kTable;
}

}  // namespace

std::optional<AppCommand> FindAppCommand(int id) {
    const auto& table = CommandTable();
    const auto found = table.find(id);
    if (found == table.end()) return std::nullopt;
    return found->second;
}

bool TakesInputWhileBusy(int id) {
    return id == id::kCloseButton || id == id::kCmdExit;
}

}  // namespace vk930
