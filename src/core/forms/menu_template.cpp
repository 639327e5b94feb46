#include "core/forms/menu_template.h"

#include "core/forms/form_ids.h"

namespace vk930 {

namespace {

std::vector<MenuItem> ComPortItems() {
    std::vector<MenuItem> items;
    for (int port = 1; port <= 8; ++port) {
        const std::string name = "COM" + std::to_string(port);
        items.push_back({id::kCmdComPort1 + port - 1, name, "Use port " + name});
    }
    items.push_back({kSeparator, "", ""});
    items.push_back({id::kCmdDevices, "Devices...", "Choose what each COM port reaches"});
    return items;
}

}  // namespace

const std::vector<MenuPopup>& MainMenuTemplate() {
    static const std::vector<MenuPopup> kMenu{
        {"&File",
         {
             {id::kCmdOpen, "&Open Configuration File...", ""},
             {id::kCmdFirmwareUpdate, "FirmWare update...", ""},
             {kSeparator, "", ""},
             {id::kCmdAbout, "&About VK930Config...", ""},
             {id::kCmdExit, "E&xit", ""},
         }},
        {"COM port", ComPortItems()},
        {"Tools",
         {
             {id::kCmdNumberSeries, "Number a series...", "Number terminals one after another"},
             {id::kCmdCompare, "Compare with terminal...",
              "Show what a Set of a parameter file would change"},
             {id::kCmdBackups, "Backups...", "Restore or open a backup of this bench"},
             {id::kCmdServiceHistory, "Service history...", "Show the service records"},
         }},
    };
    return kMenu;
}

const std::vector<Accelerator>& MainAccelerators() {
    static const std::vector<Accelerator> kTable{
        {"Ctrl+N", id::kCmdNew},        {"Ctrl+O", id::kCmdOpen},        {"Ctrl+S", id::kCmdSave},
        {"Ctrl+Z", id::kCmdUndo},       {"Alt+Backspace", id::kCmdUndo}, {"Ctrl+X", id::kCmdCut},
        {"Shift+Del", id::kCmdCut},     {"Ctrl+C", id::kCmdCopy},        {"Ctrl+Ins", id::kCmdCopy},
        {"Ctrl+V", id::kCmdPaste},      {"Shift+Ins", id::kCmdPaste},    {"F6", id::kCmdNextPane},
        {"Shift+F6", id::kCmdPrevPane},
    };
    return kTable;
}

}  // namespace vk930
