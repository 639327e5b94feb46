#pragma once
// Which command each menu item, accelerator and button of the main window stands for, and
// which of them are terminal jobs (they reach the terminal and run off the GUI thread, one at
// a time). Both windows send ids; this map is the only place that gives them a meaning.
#include <optional>

namespace vk930 {

// What a command does; the application carries it out.
enum class AppAction {
    kNew,
    kOpen,
    kAbout,
    kExit,
    kClearList,
    kEditWithNotepad,
    kClose,
    kReadDeviceInfo,
    kSetCommId,
    kNextCommId,
    kGet,
    kGetKeyed,
    kSet,
    kSetRun,
    kFirmwareUpdate,
    kDevices,
    kNumberSeries,
    kSelectComPort,
    kCompare,         // Tools: "Compare with terminal..."
    kBackups,         // Tools: "Backups..."
    kServiceHistory,  // Tools: "Service history..."
};

// The terminal jobs, by what stopping one leaves behind.
enum class TerminalJob { kIdentify, kCommId, kGet, kSet, kUpload };

struct AppCommand {
    AppAction action = AppAction::kNew;
    std::optional<TerminalJob> job;  // set for a command that reaches the terminal
    int port = 0;                    // kSelectComPort: the COM port number 1 to kPortCount
};

// The command of a menu, accelerator or button id; nullopt for an id without a handler of the
// program's own (the save, undo, cut, copy, paste and pane accelerators, unknown ids).
std::optional<AppCommand> FindAppCommand(int id);

// Ids that are never dropped while a job runs: leaving the program, which asks first.
bool TakesInputWhileBusy(int id);

}  // namespace vk930
